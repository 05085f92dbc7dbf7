#include "core/net/CountPop3Messages.h"

#include "core/model/CMailAccount.h"
#include "core/net/CPop3Client.h"
#include "core/net/ExtractField.h"
#include "core/net/MailServerAddress.h"
#include "core/net/MimeHeaderText.h"
#include "core/net/SocketErrors.h"

#include <algorithm>
#include <string>

namespace {
// Failed header fetches allowed in one exchange; after that the rest are recorded unread.
constexpr int kAttempts = 3;
} // namespace

int CountPop3Messages(CMailAccount& account, const Pop3CheckOptions& options) {
    CPop3Client client;
    client.m_timeoutMs = options.timeoutMs;
    client.m_replyLimitMs = options.replyLimitMs;
    client.m_caFile = options.caFile;
    client.m_cancel = options.cancel;
    return CountPop3Messages(client, account, options.port, options.maxListed);
}

int CountPop3Messages(CPop3Client& client, CMailAccount& account, unsigned short port,
                      int maxListed) {
    MailServerAddress address;
    if (!MailServerAddress::Parse(account.m_server, address) && client.OwnsSocket()) {
        CBlockingSocket::SetLastError(SocketError::kInvalidArgument);
        client.m_lastResponse.clear();
        return -1;
    }
    client.m_security = address.security;
    if (!client.Connect(address.host, account.m_userName, account.m_password,
                        port ? port : address.port))
        return -1;

    int result = -1;
    int count = 0;
    long long totalSize = 0;
    if (client.Noop() && client.Stat(count, totalSize)) {
        result = count;
        int failures = 0;
        // The newest messages carry the highest numbers.
        const int listed = std::min(count, std::max(maxListed, 0));
        for (int i = 0; i < listed && !client.DeadlinePassed(); ++i) {
            const int n = count - listed + 1 + i; // never past count, even at the int's end
            // A message whose header cannot be had gets empty fields, never another's.
            std::string header;
            while (failures < kAttempts) {
                if (client.GetHeader(n, header)) {
                    // Asking again would bring the same header: count it and go on.
                    if (ExtractField(header, "From:", 1).empty()) ++failures;
                    break;
                }
                ++failures;
                header.clear();
            }
            // Only what is shown is kept: a megabyte of sender costs a kilobyte.
            for (const char* name : {"From:", "Subject:", "Date:"})
                account.m_messages.push_back(
                    ShownHeaderField(ExtractField(header, name, kMaxRawField + 1)));
            account.m_messages.emplace_back();
        }
    }

    // The goodbye's own outcome must not hide why the exchange failed.
    const int error = CBlockingSocket::GetLastError();
    const std::string response = client.m_lastResponse;
    client.Disconnect();
    CBlockingSocket::SetLastError(error);
    client.m_lastResponse = response;
    return result;
}
