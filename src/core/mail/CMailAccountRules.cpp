#include "core/mail/CMailAccountRules.h"

#include "core/net/MailServerAddress.h"

CMailAccountRules::Field CMailAccountRules::Check(const Entry& entry, std::string& message) {
    if (entry.name.empty()) {
        message = "Account Name is required !";
        return Field::Name;
    }
    if (entry.userName.empty()) {
        message = "User Name is required !";
        return Field::UserName;
    }
    if (entry.password != entry.verification) {
        message = "Password is not correct !";
        return Field::Password;
    }
    if (entry.pop3 && entry.server.empty()) {
        message = "Server Name is required !";
        return Field::Server;
    }
    // A server the check could never reach is told now, not as a silent failure later.
    MailServerAddress address;
    if (entry.pop3 && !MailServerAddress::Parse(entry.server, address)) {
        message = "The server is not valid: write a name such as \"mail.example.com\", "
                  "\"mail.example.com:110\" or \"pop3s://mail.example.com\".";
        return Field::Server;
    }
    message.clear();
    return Field::None;
}
