#pragma once

#include <string>

// How a mail check secures its connection. IfOffered is what accounts written before the
// choice existed keep: STLS when the server's CAPA answer lists it, else plain.
enum class MailSecurity { IfOffered, StartTls, Implicit, Plain };

// Where an account's mail is fetched from, as written in its server field: "host" or
// "host:port" and "pop3://host[:port]" (STLS when offered), "pop3+starttls://host[:port]" (STLS
// required), "pop3s://host[:port]" (TLS from the first byte) or "pop3+plain://host[:port]"
// (never secured). The scheme lives in the field so that the stored account record keeps its
// layout.
struct MailServerAddress {
    std::string host;
    unsigned short port = 110;
    MailSecurity security = MailSecurity::IfOffered;

    static constexpr unsigned short kPlainPort = 110;
    static constexpr unsigned short kTlsPort = 995;

    // False (with the address untouched) for an empty host, a bad port or another scheme.
    static bool Parse(const std::string& text, MailServerAddress& address);
    // The server field for this address; the port only when it is not the security's default.
    std::string Text() const;
    // "host" or "host:port" as the user types it, without the scheme.
    std::string HostAndPort() const;
    static unsigned short DefaultPort(MailSecurity security) {
        return security == MailSecurity::Implicit ? kTlsPort : kPlainPort;
    }
};
