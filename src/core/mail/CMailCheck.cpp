#include "mail/CMailCheck.h"

#include "model/CSettings.h"
#include "net/CPop3Client.h"
#include "net/SocketErrors.h"
#include "platform/Clock.h"

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
    for (Account& a : plan) {
        a.copy.m_messages.clear();
        a.count = 0;
        a.failure.clear();
        if (a.copy.m_type != CMailAccount::Pop3) continue;
        if (options.cancel && options.cancel->load()) {
            a.count = -1;
            a.failure = FailureText(SocketError::kCancelled, "");
            continue;
        }
        CPop3Client client;
        client.m_timeoutMs = options.timeoutMs;
        client.m_replyLimitMs = options.replyLimitMs;
        client.m_caFile = options.caFile;
        client.m_cancel = options.cancel;
        CBlockingSocket::SetLastError(SocketError::kNone);
        a.count = CountPop3Messages(client, a.copy, options.port);
        if (a.count < 0)
            a.failure = FailureText(CBlockingSocket::GetLastError(), client.m_lastResponse);
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
        if (a.count > 0) out.total += a.count;
        if (a.count < 0) out.failures.push_back(now.m_name + ": " + a.failure);
    }

    if (!exiting) {
        if (out.total > 0) {
            out.show = Outcome::NewMail;
            out.headline = Headline(out.total);
            out.playWave = settings.m_alarmSound == CSettings::SoundWave;
            out.wavePath = settings.m_wavePath;
        } else if (manual) {
            out.show = Outcome::NoNewMail;
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
