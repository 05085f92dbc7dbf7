// A POP3 server for the end-to-end scripts: a private Dovecot on 127.0.0.1 with one user and
// COUNT messages, and beside it a listener that never says a word. Prints both ports on one
// line, then runs until SIGTERM or SIGINT, when it stops the server.
//
//   jotterly_mailserver USER PASSWORD COUNT
#include "support/DovecotServer.h"
#include "support/Loopback.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s USER PASSWORD COUNT\n", argv[0]);
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, nullptr);

    std::vector<std::string> mails;
    for (int i = 1; i <= std::atoi(argv[3]); ++i)
        mails.push_back("From: sender" + std::to_string(i) + "@example.com\nSubject: Message " +
                        std::to_string(i) + "\nDate: Mon, 7 Dec 2026 09:0" +
                        std::to_string(i % 10) + ":00 +0000\n\nHello.\n");
    DovecotServer server;
    server.AddUser(argv[1], argv[2], mails);
    if (!server.Start()) {
        std::fprintf(stderr, "%s\n", server.Error().c_str());
        return 1;
    }
    unsigned short silentPort = 0;
    const int silent = ListenOnLoopback(silentPort, 8);
    if (silent < 0) return 1;
    std::printf("%u %u\n", server.Port(), silentPort);
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    close(silent);
    server.Stop();
    return 0;
}
