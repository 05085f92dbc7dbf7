#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A Python HTTP server on 127.0.0.1 (support/http_fixture.py), a child process stopped by its
// PID. Routes are "/path=FILE", "/path=@slow", "/path=@hang",
// "/path=@big:N" or "/path=@status:N".
class LoopbackHttpServer {
public:
    // With a certificate and its key it speaks HTTPS, as "localhost".
    explicit LoopbackHttpServer(const std::vector<std::string>& routes,
                                const std::string& tlsCert = "", const std::string& tlsKey = "");
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool Running() const { return m_port != 0; }
    unsigned short Port() const { return m_port; }
    std::string BaseUrl() const {
        return (m_tls ? "https://localhost:" : "http://127.0.0.1:") + std::to_string(m_port);
    }
    // One "path<TAB>user agent" line per request so far.
    std::vector<std::string> Requests() const;

private:
    std::string m_log;
    pid_t m_pid = -1;
    unsigned short m_port = 0;
    bool m_tls = false;
};
