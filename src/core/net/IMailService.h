#pragma once

// Checks the mail accounts in the background. When a check ends, the service tells the hub
// (CTrayCore::EndMailCheck), which un-greys the accounts in the tray menu.
class IMailService {
public:
    // The target of a check of every account; otherwise a target is an account's index.
    static constexpr int kAllAccounts = 999;
    // The target while no check runs.
    static constexpr int kNoCheck = -1;

    virtual ~IMailService() = default;
    // manual: started by the user from the menu rather than by the timer.
    virtual void RunMailCheck(int target, int manual) = 0;
    // The program is ending: a running check stops at its next look at the network.
    virtual void StopMailCheck() {}
    // A check was started and has not handed back its result yet.
    virtual bool MailCheckRunning() const = 0;
};
