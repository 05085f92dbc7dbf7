#include "core/net/SntpPacket.h"

namespace {

std::uint64_t Timestamp(const unsigned char* p) {
    std::uint64_t t = 0;
    for (int i = 0; i < 8; ++i)
        t = (t << 8) | p[i];
    return t;
}

// b - a in seconds; timestamps within 68 years of each other, across an era's end too.
double Seconds(std::uint64_t a, std::uint64_t b) {
    return static_cast<double>(static_cast<std::int64_t>(b - a)) / 4294967296.0;
}

bool Refuse(std::string& error, const std::string& why) {
    error = why;
    return false;
}

} // namespace

namespace SntpPacket {

std::array<unsigned char, kSize> Request(std::uint64_t transmit) {
    std::array<unsigned char, kSize> packet{};
    packet[0] = (0 << 6) | (4 << 3) | 3; // no leap warning, version 4, client
    for (int i = 0; i < 8; ++i)
        packet[40 + i] = static_cast<unsigned char>(transmit >> (56 - 8 * i));
    return packet;
}

bool Parse(const unsigned char* data, std::size_t size, std::uint64_t sent, std::uint64_t received,
           Sample& sample, std::string& error) {
    if (size < kSize) return Refuse(error, "the time server's reply is too short");
    const int leap = data[0] >> 6, version = (data[0] >> 3) & 7, mode = data[0] & 7;
    const int stratum = data[1];
    if (mode != 4) return Refuse(error, "the time server's reply is not a server's answer");
    if (version < 1 || version > 4)
        return Refuse(error, "the time server speaks another version of the protocol");
    if (stratum == 0) {
        // A kiss-of-death: the reference identifier holds four ASCII letters (RATE, DENY...).
        std::string code;
        for (int i = 12; i < 16; ++i)
            if (data[i] >= 'A' && data[i] <= 'Z') code += static_cast<char>(data[i]);
        return Refuse(error, "the time server refused the request" +
                                 (code.empty() ? std::string() : " (" + code + ")"));
    }
    if (stratum > 15) return Refuse(error, "the time server gave an invalid stratum");
    if (leap == 3) return Refuse(error, "the time server's own clock is not synchronised");
    const std::uint64_t origin = Timestamp(data + 24), receive = Timestamp(data + 32),
                        transmit = Timestamp(data + 40);
    if (origin != sent) return Refuse(error, "the time server's reply is not for our request");
    if (receive == 0 || transmit == 0)
        return Refuse(error, "the time server's reply holds no time");
    const double delay = Seconds(sent, received) - Seconds(receive, transmit);
    if (delay < 0 || delay > kMaxDelaySeconds || Seconds(receive, transmit) < 0)
        return Refuse(error, "the time server's reply has impossible times");
    sample.offsetSeconds = (Seconds(sent, receive) + Seconds(received, transmit)) / 2;
    sample.delaySeconds = delay;
    sample.stratum = stratum;
    return true;
}

std::uint64_t FromUnix(std::int64_t seconds, long nanoseconds) {
    const std::uint64_t whole = static_cast<std::uint64_t>(seconds) + kUnixEpoch;
    const std::uint64_t fraction = (static_cast<std::uint64_t>(nanoseconds) << 32) / 1000000000ULL;
    return (whole << 32) | (fraction & 0xFFFFFFFFULL);
}

} // namespace SntpPacket
