#pragma once

#include <string>

// Where an account's mail is fetched from, as written in its server field: "host",
// "host:port", "pop3://host[:port]" (plain, upgraded with STLS when offered) or
// "pop3s://host[:port]" (TLS from the first byte). The scheme lives in the field so that the
// stored account record keeps its layout.
struct MailServerAddress {
    std::string host;
    unsigned short port = 110;
    bool implicitTls = false;

    static constexpr unsigned short kPlainPort = 110;
    static constexpr unsigned short kTlsPort = 995;

    // False (with the address untouched) for an empty host, a bad port or another scheme.
    static bool Parse(const std::string& text, MailServerAddress& address);
};
