#pragma once

#include "core/model/CMailAccount.h"
#include "core/model/CNoteStore.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/IMailService.h"

#include <optional>
#include <string>
#include <vector>

struct CSettings;

// One row of the new-mail window.
struct MailRow {
    int account = 0; // the account's index
    int type = CMailAccount::Pop3;
    std::string accountName, from, subject;
};

// The steps of one mail check. Plan and Apply run on the GUI thread and alone touch the
// program's accounts; Run works on copies on the worker thread, so the two never share data.
class CMailCheck {
public:
    static constexpr int kAllAccounts = IMailService::kAllAccounts;

    // One account to check, as it was when the check began, and what the check found.
    struct Account {
        int index = 0;
        CMailAccount copy;
        int count = 0;       // messages waiting; -1 when the log-in or the count failed
        std::string failure; // why, in words, when count is -1
        // Worth telling though the account was checked: a password sent in clear, messages
        // left out of the list.
        std::vector<std::string> notes;
        // In: the fingerprint of a certificate the user trusts for this account's server.
        std::string trustedFingerprint;
        // Out: the fingerprint of the certificate that was refused, when one was.
        std::string refusedFingerprint;
    };

    // A certificate the user may choose to trust for one account.
    struct TrustQuestion {
        std::string key; // where the answer is kept (TrustKey)
        std::string fingerprint;
        std::string text; // the question, with the server, the reason and the fingerprint
    };

    // What the user is to be shown once the check is over.
    struct Outcome {
        // NotChecked: asked by the user, nothing found, and not every account could be checked.
        enum Show { Nothing, NewMail, NoNewMail, NotChecked };
        Show show = Nothing;
        int total = 0;
        std::string headline;               // "You have 3 mails"
        std::vector<std::string> failures;  // "name: reason", one per account that failed
        std::vector<std::string> notes;     // "name: note"
        std::vector<std::string> checked;   // names of the POP3 accounts checked without fault
        std::optional<TrustQuestion> trust; // asked by the user, and a certificate was refused
        bool rearmed = false;               // the automatic check's countdown began again
        bool playWave = false;              // the user's wave file, else a beep
        std::string wavePath;
    };

    // The accounts a check of target (an index, or kAllAccounts) covers; empty when there is
    // no account to check (the check then ends at once).
    static std::vector<Account> Plan(const CNoteStore::Accounts& accounts, int target);

    // Worker thread: the POP3 exchange of every POP3 account of the plan; web mail counts 0.
    static void Run(std::vector<Account>& plan, const Pop3CheckOptions& options);

    // GUI thread: empties the message list of every account, gives the checked ones what was
    // found, and re-arms the automatic check when it covered all accounts. An account changed
    // or removed meanwhile is given nothing. Nothing is shown while the program exits.
    static Outcome Apply(const CNoteStore::Accounts& accounts, const std::vector<Account>& plan,
                         int target, bool manual, bool exiting, CSettings& settings,
                         int& mailCountdownMs);

    // The new-mail window's rows: every message of every account, in account order.
    static std::vector<MailRow> Rows(const CNoteStore::Accounts& accounts);

    // "You have 1 mail", "You have 2 mails".
    static std::string Headline(int total);
    // The box shown for NoNewMail and NotChecked: its text and caption.
    static std::string BoxText(const Outcome& outcome);
    static std::string BoxCaption(const Outcome& outcome);
    // The lines under the new-mail window's headline: failures, then notes.
    static std::vector<std::string> ReportLines(const Outcome& outcome);

    // Where the fingerprint trusted for this account's server is kept (a key of the side
    // file): its user and server, so it serves no other server. Empty for a bad server field.
    static std::string TrustKey(const CMailAccount& account);

    // Why an exchange failed, from the socket layer's error and the server's last reply.
    static std::string FailureText(int error, const std::string& lastResponse);
};
