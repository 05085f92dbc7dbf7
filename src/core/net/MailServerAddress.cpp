#include "net/MailServerAddress.h"

#include <cctype>

namespace {
bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}
} // namespace

bool MailServerAddress::Parse(const std::string& text, MailServerAddress& address) {
    // Blanks around a pasted name are not part of it.
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    std::string rest = first == std::string::npos ? "" : text.substr(first, last - first + 1);

    MailServerAddress parsed;
    if (StartsWithNoCase(rest, "pop3s://")) {
        parsed.implicitTls = true;
        parsed.port = kTlsPort;
        rest.erase(0, 8);
    } else if (StartsWithNoCase(rest, "pop3://")) {
        rest.erase(0, 7);
    } else if (rest.find("://") != std::string::npos) {
        return false;
    }
    if (!rest.empty() && rest.back() == '/') rest.pop_back();

    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        const std::string digits = rest.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        long port = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            port = port * 10 + (c - '0');
        }
        if (port < 1 || port > 65535) return false;
        parsed.port = static_cast<unsigned short>(port);
        rest.erase(colon);
    }
    if (rest.empty() || rest.find_first_of(" \t/") != std::string::npos) return false;
    parsed.host = rest;
    address = parsed;
    return true;
}
