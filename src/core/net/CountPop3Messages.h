#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class CMailAccount;
class CPop3Client;

struct Pop3CheckOptions {
    unsigned short port = 0;                   // 0: the one the server field names, or its default
    std::uint32_t timeoutMs = 6000;            // no byte for this long: the command fails
    std::uint32_t replyLimitMs = 60000;        // a reply not complete by then fails too
    std::string caFile{};                      // certificates to trust instead of the system's
    const std::atomic<bool>* cancel = nullptr; // set: the exchange stops soon, sending nothing
    int maxListed = 500;                       // headers read per account: the newest ones
    std::uint32_t checkLimitMs = 120000;       // the whole check, every account, ends by then
};

// The exchange the mail check runs for one POP3 account: log in, count the messages, fetch
// the header of each of the newest maxListed with TOP n 0 and append four strings per message
// to the account's message list (sender, subject, date as shown, see ShownHeaderField, and an
// empty one). Returns the number of messages in the mailbox, or -1 when the log-in or the
// count failed. Ends with QUIT unless the connection was left out of step (then it is only
// closed). Past the client's deadline no further header is asked for.
int CountPop3Messages(CMailAccount& account, const Pop3CheckOptions& options = {});

// The same over a given client (its own socket, or a stream it was made with). port 0: the
// one the server field names.
int CountPop3Messages(CPop3Client& client, CMailAccount& account, unsigned short port = 0,
                      int maxListed = Pop3CheckOptions{}.maxListed);
