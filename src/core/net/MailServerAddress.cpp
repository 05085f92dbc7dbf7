#include "core/net/MailServerAddress.h"

#include <cctype>
#include <utility>

namespace {
constexpr std::pair<const char*, MailSecurity> kSchemes[] = {
    {"pop3://", MailSecurity::IfOffered},
    {"pop3+starttls://", MailSecurity::StartTls},
    {"pop3s://", MailSecurity::Implicit},
    {"pop3+plain://", MailSecurity::Plain},
};

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
    bool known = rest.find("://") == std::string::npos;
    for (const auto& [scheme, security] : kSchemes) {
        if (known || !StartsWithNoCase(rest, scheme)) continue;
        parsed.security = security;
        rest.erase(0, std::string(scheme).size());
        known = true;
    }
    if (!known) return false;
    parsed.port = DefaultPort(parsed.security);
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

std::string MailServerAddress::HostAndPort() const {
    return port == DefaultPort(security) ? host : host + ":" + std::to_string(port);
}

std::string MailServerAddress::Text() const {
    // An old account keeps the plain form it was written in.
    if (security == MailSecurity::IfOffered) return HostAndPort();
    for (const auto& [scheme, kind] : kSchemes)
        if (kind == security) return scheme + HostAndPort();
    return HostAndPort();
}
