#include "support/LoopbackHttpServer.h"
#include "support/Loopback.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

LoopbackHttpServer::LoopbackHttpServer(const std::vector<std::string>& routes,
                                       const std::string& tlsCert, const std::string& tlsKey)
    : m_tls(!tlsCert.empty()) {
    char log[] = "/tmp/jotterly-http-XXXXXX";
    const int fd = mkstemp(log);
    if (fd < 0) return;
    close(fd);
    m_log = log;
    int out[2];
    if (pipe(out) != 0) return;
    const std::string script = std::string(JOTTERLY_SOURCE_DIR) + "/tests/support/http_fixture.py";
    std::vector<std::string> args = {"python3", script, m_log};
    args.insert(args.end(), routes.begin(), routes.end());
    m_pid = fork();
    if (m_pid == 0) {
        if (m_tls) setenv("HTTP_FIXTURE_TLS", (tlsCert + ":" + tlsKey).c_str(), 1);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("python3", argv.data());
        _exit(127);
    }
    close(out[1]);
    // The server prints its port once it listens.
    FILE* in = fdopen(out[0], "r");
    unsigned port = 0;
    if (in && std::fscanf(in, "%u", &port) == 1) m_port = static_cast<unsigned short>(port);
    if (in) std::fclose(in);
}

LoopbackHttpServer::~LoopbackHttpServer() {
    StopChild(m_pid);
    if (!m_log.empty()) std::remove(m_log.c_str());
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
    std::vector<std::string> lines;
    std::ifstream in(m_log);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
