#pragma once

#include <functional>
#include <string>

// Pop-up notices of the desktop (the freedesktop notification service on Linux). Showing one
// never fails loudly: without a service the caller simply gets no notice.
class IDesktopNotices {
public:
    // The notice's buttons.
    enum class Action { Acknowledge, RemindLater };
    using ActionHandler = std::function<void(Action)>;

    virtual ~IDesktopNotices() = default;

    // Returns a ticket for Withdraw, or 0 when no notice is shown (switched off, no service).
    // onAction runs on the user-interface thread when the user picks a button, never after
    // the notice was withdrawn; without one the notice has no buttons.
    virtual unsigned Show(const std::string& title, const std::string& body,
                          ActionHandler onAction) = 0;
    virtual void Withdraw(unsigned ticket) = 0;
};
