#include "core/mail/CMailCheck.h"

#include "core/model/CSettings.h"
#include "core/net/CPop3Client.h"
#include "core/net/MailServerAddress.h"
#include "core/net/SocketErrors.h"
#include "core/platform/Clock.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace {
std::uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string Duration(std::uint32_t ms) {
    const bool minutes = ms % 60000 == 0 && ms > 0;
    const std::uint32_t n = minutes ? ms / 60000 : (ms + 999) / 1000;
    return std::to_string(n) + (minutes ? " minute" : " second") + (n == 1 ? "" : "s");
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}
} // namespace

std::vector<CMailCheck::Account> CMailCheck::Plan(const CNoteStore::Accounts& accounts,
                                                  int target) {
    std::vector<Account> plan;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        if (target != kAllAccounts && static_cast<std::size_t>(target) != i) continue;
        Account a;
        a.index = static_cast<int>(i);
        a.copy = *accounts[i];
        a.copy.m_messages.clear();
        plan.push_back(std::move(a));
    }
    return plan;
}

void CMailCheck::Run(std::vector<Account>& plan, const Pop3CheckOptions& options) {
    // One limit for the whole check, so that a slow server cannot hold it for ever.
    const std::uint64_t deadline = SteadyMs() + options.checkLimitMs;
    const std::string tooLong = "the check took longer than " + Duration(options.checkLimitMs);
    for (Account& a : plan) {
        a.copy.m_messages.clear();
        a.count = 0;
        a.failure.clear();
        a.notes.clear();
        a.refusedFingerprint.clear();
        if (a.copy.m_type != CMailAccount::Pop3) continue;
        if (options.cancel && options.cancel->load()) {
            a.count = -1;
            a.failure = FailureText(SocketError::kCancelled, "");
            continue;
        }
        const std::uint64_t now = SteadyMs();
        if (now >= deadline) {
            a.count = -1;
            a.failure = tooLong + " and was stopped before this account";
            continue;
        }
        CPop3Client client;
        client.m_timeoutMs = options.timeoutMs;
        client.m_replyLimitMs = options.replyLimitMs;
        client.m_caFile = options.caFile;
        client.m_cancel = options.cancel;
        client.m_trustedFingerprint = a.trustedFingerprint;
        client.m_deadline = client.Tick() + (deadline - now);
        CBlockingSocket::SetLastError(SocketError::kNone);
        a.count = CountPop3Messages(client, a.copy, options.port, options.maxListed);
        const int listed = static_cast<int>(a.copy.m_messages.size() / 4);
        if (a.count < 0) {
            a.failure = client.DeadlinePassed()
                            ? tooLong + " and was stopped"
                            : FailureText(CBlockingSocket::GetLastError(), client.m_lastResponse);
            a.refusedFingerprint = client.m_refusedFingerprint;
        } else if (client.DeadlinePassed() && listed < a.count) {
            a.notes.push_back(tooLong + "; only " + std::to_string(listed) + " of " +
                              std::to_string(a.count) + " messages are listed");
        } else if (listed < a.count && listed == options.maxListed) {
            a.notes.push_back("only the newest " + std::to_string(listed) + " of " +
                              std::to_string(a.count) + " messages are listed");
        }
        if (client.m_sentInClear) a.notes.push_back("the password was sent without encryption");
    }
}

CMailCheck::Outcome CMailCheck::Apply(const CNoteStore::Accounts& accounts,
                                      const std::vector<Account>& plan, int target, bool manual,
                                      bool exiting, CSettings& settings, int& mailCountdownMs) {
    for (const auto& account : accounts)
        account->m_messages.clear();

    Outcome out;
    for (const Account& a : plan) {
        if (a.index < 0 || static_cast<std::size_t>(a.index) >= accounts.size()) continue;
        CMailAccount& now = *accounts[static_cast<std::size_t>(a.index)];
        if (now.m_name != a.copy.m_name || now.m_server != a.copy.m_server ||
            now.m_userName != a.copy.m_userName || now.m_type != a.copy.m_type)
            continue;
        now.m_messages = a.copy.m_messages;
        // Many huge mailboxes together still make a count an int can hold.
        if (a.count > 0)
            out.total = std::min<long long>(std::numeric_limits<int>::max(),
                                            static_cast<long long>(out.total) + a.count);
        if (a.count < 0) out.failures.push_back(now.m_name + ": " + a.failure);
        if (a.count >= 0 && now.m_type == CMailAccount::Pop3) out.checked.push_back(now.m_name);
        for (const auto& note : a.notes)
            out.notes.push_back(now.m_name + ": " + note);
        if (manual && !out.trust && !a.refusedFingerprint.empty()) {
            MailServerAddress address;
            MailServerAddress::Parse(now.m_server, address);
            const std::string server = address.host + ":" + std::to_string(address.port);
            const bool changed = !a.trustedFingerprint.empty();
            out.trust = TrustQuestion{
                TrustKey(now), a.refusedFingerprint,
                (changed ? "The certificate of " + server +
                               " has changed since you trusted it for the account \"" + now.m_name +
                               "\".\n\n"
                         : "The certificate of " + server + " (account \"" + now.m_name +
                               "\") could not be verified:\n" + a.failure + "\n\n") +
                    "Its SHA-256 fingerprint is\n" + a.refusedFingerprint +
                    "\n\nTrust this certificate for this account? Say yes only if the server's "
                    "administrator gave you the same fingerprint."};
        }
    }

    if (!exiting) {
        if (out.total > 0) {
            out.show = Outcome::NewMail;
            out.headline = Headline(out.total);
            out.playWave = settings.m_alarmSound == CSettings::SoundWave;
            out.wavePath = settings.m_wavePath;
        } else if (manual) {
            // "No New Mail" only when every account was checked.
            out.show = out.failures.empty() ? Outcome::NoNewMail : Outcome::NotChecked;
        }
        if (target == kAllAccounts || accounts.size() == 1) {
            settings.m_lastMailCheck = Clock::Now();
            mailCountdownMs = settings.m_mailInterval * 60000;
            out.rearmed = true;
        }
    }
    return out;
}

std::vector<MailRow> CMailCheck::Rows(const CNoteStore::Accounts& accounts) {
    std::vector<MailRow> rows;
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const CMailAccount& a = *accounts[i];
        for (std::size_t m = 0; m + 3 < a.m_messages.size(); m += 4)
            rows.push_back(
                {static_cast<int>(i), a.m_type, a.m_name, a.m_messages[m], a.m_messages[m + 1]});
    }
    return rows;
}

std::string CMailCheck::Headline(int total) {
    return "You have " + std::to_string(total) + " mail" + (total > 1 ? "s" : "");
}

std::string CMailCheck::BoxCaption(const Outcome& outcome) {
    return outcome.show == Outcome::NotChecked ? "Mail not checked" : "Nothing new";
}

std::string CMailCheck::BoxText(const Outcome& outcome) {
    std::string text;
    if (outcome.show == Outcome::NotChecked) {
        text = outcome.checked.empty() ? "Mail could not be checked:\n"
                                       : "Some accounts could not be checked:\n";
        text += Joined(outcome.failures);
        std::string names;
        for (const auto& name : outcome.checked)
            names += (names.empty() ? "" : ", ") + name;
        if (!names.empty()) text += "\n\nNo New Mail in " + names + ".";
    } else {
        text = "No New Mail";
    }
    if (!outcome.notes.empty()) text += "\n\n" + Joined(outcome.notes);
    return text;
}

std::vector<std::string> CMailCheck::ReportLines(const Outcome& outcome) {
    std::vector<std::string> lines;
    for (const auto& f : outcome.failures)
        lines.push_back("Not checked: " + f);
    lines.insert(lines.end(), outcome.notes.begin(), outcome.notes.end());
    return lines;
}

std::string CMailCheck::TrustKey(const CMailAccount& account) {
    MailServerAddress address;
    if (!MailServerAddress::Parse(account.m_server, address)) return {};
    // The side file's keys end at '=' and hold no blanks: those are written as %XX.
    std::string user;
    for (unsigned char c : account.m_userName) {
        if (c <= ' ' || c == '=' || c == '%' || c == '#' || c >= 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            user += '%';
            user += kHex[c >> 4];
            user += kHex[c & 15];
        } else {
            user += static_cast<char>(c);
        }
    }
    return "mail_certificate." + user + "@" + address.host + ":" + std::to_string(address.port);
}

std::string CMailCheck::FailureText(int error, const std::string& lastResponse) {
    using namespace SocketError;
    switch (error) {
    case kTlsFailed:
        return lastResponse.empty() ? "the secure connection failed" : lastResponse;
    case kNegativeReply:
        return lastResponse.empty() ? "the server refused the log-in"
                                    : "the server answered \"" + lastResponse.substr(0, 200) + "\"";
    case kInvalidArgument:
        return "the server name could not be found or is not valid";
    case kTimedOut:
        return "the server did not answer in time";
    case kConnectionRefused:
        return "the server refused the connection";
    case kPeerClosed:
    case kConnectionReset:
    case kConnectionAborted:
        return "the server closed the connection";
    case kNetworkDown:
    case kNetworkUnreachable:
    case kHostUnreachable:
    case kHostDown:
        return "the server cannot be reached";
    case kCancelled:
        return "the check was stopped";
    default:
        return "network error " + std::to_string(error);
    }
}
