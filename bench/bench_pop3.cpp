// The mail check's exchange against a local Dovecot whose mailbox holds 1,000 messages: log in,
// count, list, fetch every header with TOP n 0, log out. Wall time per message.
#include "core/model/CMailAccount.h"
#include "core/net/CountPop3Messages.h"
#include "support/DovecotServer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {
constexpr int kMessages = 1000;

DovecotServer* Server() {
    static std::unique_ptr<DovecotServer> server = [] {
        auto s = std::make_unique<DovecotServer>();
        std::vector<std::string> mails;
        for (int i = 1; i <= kMessages; ++i) {
            std::string mail = "Received: from mx.example.net by mail.example.com; Mon, 1 Jan "
                               "2024 10:20:30 +0000\n"
                               "From: Sender " +
                               std::to_string(i) + " <sender" + std::to_string(i) +
                               "@example.net>\n"
                               "To: alice@example.com\n"
                               "Subject: Message number " +
                               std::to_string(i) +
                               " with a subject that is long enough\n to be folded\n"
                               "Date: Mon, 1 Jan 2024 10:20:30 +0000\n"
                               "Message-ID: <" +
                               std::to_string(i) +
                               "@example.net>\n"
                               "Content-Type: text/plain; charset=utf-8\n\n" +
                               std::string(20, '.') + "\n" + std::string(2000, 'b') + "\n";
            mails.push_back(std::move(mail));
        }
        s->AddUser("bench", "bench-pw", mails);
        if (!s->Start()) {
            std::fprintf(stderr, "dovecot: %s\n", s->Error().c_str());
            return std::unique_ptr<DovecotServer>();
        }
        return s;
    }();
    return server.get();
}

CMailAccount Account() {
    CMailAccount account;
    account.m_name = "Bench";
    account.m_server = "127.0.0.1";
    account.m_userName = "bench";
    account.m_password = "bench-pw";
    return account;
}

void BM_CountPop3Messages(benchmark::State& state) {
    DovecotServer* server = Server();
    if (!server) {
        state.SkipWithError("the test server did not start");
        return;
    }
    {
        // The server indexes the mailbox on its first session; that is not the client's time.
        CMailAccount warmUp = Account();
        CountPop3Messages(warmUp, {server->Port()});
    }
    for (auto _ : state) {
        CMailAccount account = Account();
        const int count = CountPop3Messages(account, {server->Port()});
        if (count != kMessages || account.m_messages[4 * (kMessages - 1)].empty()) {
            state.SkipWithError("the exchange did not read every header");
            return;
        }
    }
    state.counters["per_message"] = benchmark::Counter(
        kMessages, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CountPop3Messages)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
} // namespace

BENCHMARK_MAIN();
