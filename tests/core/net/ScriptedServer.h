#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A one-connection server on 127.0.0.1 that plays a script on its own thread: the hostile
// and broken POP3 servers the client must survive. It records every line the client sent.
class ScriptedServer {
public:
    class Session {
    public:
        // Sends all the bytes; false once the client is gone or the server stops.
        bool Send(std::string_view bytes);
        // The client's next line without its line end; nothing after timeoutMs, on close or
        // when the server stops.
        std::optional<std::string> ReadLine(int timeoutMs = 10000);
        // Waits; false when the server stops meanwhile.
        bool Pause(int ms);
        long long ElapsedMs() const;

    private:
        friend class ScriptedServer;
        Session(ScriptedServer& server, int fd);
        ScriptedServer& m_server;
        int m_fd;
        std::string m_input;
        long long m_acceptedAt;
    };
    using Script = std::function<void(Session&)>;

    struct Line {
        long long atMs; // since the connection was accepted
        std::string text;
    };

    explicit ScriptedServer(Script script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    unsigned short Port() const { return m_port; }
    // Waits for the script to end by itself (its reads time out, so this is bounded).
    void WaitUntilDone();
    std::vector<Line> Received() const;
    std::vector<std::string> Commands() const;
    long long BytesSent() const { return m_sent; }

    // A script for an ordinary session: sends the greeting, then answers each command with
    // the first reply whose key is the whole command or its first word ("+OK\r\n" when none
    // is given) until QUIT, which is answered and ends the session.
    static Script Answering(std::string greeting,
                            std::vector<std::pair<std::string, std::string>> replies);

private:
    void Run();

    Script m_script;
    int m_listen = -1;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<long long> m_sent{0};
    mutable std::mutex m_mutex;
    std::vector<Line> m_received;
    std::thread m_thread;
};
