#pragma once

#include <cstddef>
#include <string>

// The rules of the account dialog and of the account list, apart from their windows.
class CMailAccountRules {
public:
    static constexpr std::size_t kMaxAccounts = 24;
    static constexpr int kMaxFieldLength = 24; // name, user name, password
    static constexpr const char* kTooManyText = "You cannot establish more than 24 accounts !";
    static constexpr const char* kTooManyCaption = "Sorry";
    static constexpr const char* kCheckCaption = "Oops !";

    // Whether another account may be added to a list of count accounts.
    static bool CanAdd(std::size_t count) { return count < kMaxAccounts; }

    enum class Field { None, Name, UserName, Password, Server };
    struct Entry {
        std::string name, userName, password, verification, server;
        bool pop3 = true;
    };
    // The first failed check in the dialog's order, with its message; Field::None when the
    // entry may be stored.
    static Field Check(const Entry& entry, std::string& message);
};
