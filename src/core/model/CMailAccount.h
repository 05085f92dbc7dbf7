#pragma once

#include <string>
#include <vector>

// A mail account as kept in the data file. The message list is filled by a check, never stored.
class CMailAccount {
public:
    enum Type { WebMail = 162, Pop3 = 163 };

    std::string m_name;
    std::string m_server;
    int m_type = Pop3;
    std::string m_userName;
    std::string m_password;
    std::string m_webAddress;
    // Four strings per waiting message: sender, subject, date, and an empty one.
    std::vector<std::string> m_messages;
};
