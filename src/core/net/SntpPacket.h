#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The packets of the Simple Network Time Protocol (RFC 4330): the client's request and the
// checks and arithmetic on a server's reply. Times are NTP timestamps: seconds since 1900 in
// the upper 32 bits, the fraction in the lower 32.
namespace SntpPacket {

constexpr std::size_t kSize = 48;
// Seconds from 1900-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpoch = 2208988800ULL;
// A reply that took longer than this on the way says little about the time.
constexpr double kMaxDelaySeconds = 5.0;

struct Sample {
    double offsetSeconds = 0; // add to the local clock to get the server's time
    double delaySeconds = 0;  // the round trip, less the server's own time
    int stratum = 0;
};

// A version 4 client request carrying transmit as its transmit timestamp.
std::array<unsigned char, kSize> Request(std::uint64_t transmit);

// The sample from a reply received at received to the request sent at sent. False with the
// reason in words when the reply must not be trusted: too short, not a server's answer, an
// unsynchronised server, a kiss-of-death (stratum 0, with its code), not the answer to our
// request, zero or impossible times.
bool Parse(const unsigned char* data, std::size_t size, std::uint64_t sent, std::uint64_t received,
           Sample& sample, std::string& error);

// NTP timestamp from Unix seconds and nanoseconds.
std::uint64_t FromUnix(std::int64_t seconds, long nanoseconds);

} // namespace SntpPacket
