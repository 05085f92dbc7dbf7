#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// A UDP server on 127.0.0.1 run by a thread of the test: each datagram goes to the script,
// whose bytes are sent back (nothing when empty).
class ScriptedUdpServer {
public:
    using Script = std::function<std::vector<unsigned char>(const std::vector<unsigned char>&)>;
    explicit ScriptedUdpServer(Script script);
    ~ScriptedUdpServer();
    ScriptedUdpServer(const ScriptedUdpServer&) = delete;
    ScriptedUdpServer& operator=(const ScriptedUdpServer&) = delete;

    unsigned short Port() const { return m_port; }

private:
    Script m_script;
    int m_fd = -1;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// chronyd serving its own clock (local stratum 8) on a free UDP port of 127.0.0.1, never
// touching the system clock; with offsetSeconds under libfaketime, so its clock is that far
// ahead. A child process stopped by its PID.
class ChronyServer {
public:
    explicit ChronyServer(int offsetSeconds = 0);
    ~ChronyServer();
    ChronyServer(const ChronyServer&) = delete;
    ChronyServer& operator=(const ChronyServer&) = delete;

    // Whether it answers time requests (waits up to 10 s for the first answer).
    bool Running() const { return m_answers; }
    unsigned short Port() const { return m_port; }

private:
    std::string m_dir;
    pid_t m_pid = -1;
    unsigned short m_port = 0;
    bool m_answers = false;
};
