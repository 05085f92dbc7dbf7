#include "support/UdpServers.h"

#include "core/net/CSntpClient.h"
#include "support/Loopback.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ScriptedUdpServer::ScriptedUdpServer(Script script) : m_script(std::move(script)) {
    m_fd = BindLoopback(m_port, SOCK_DGRAM);
    if (m_fd < 0) return;
    m_thread = std::thread([this] {
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            std::vector<unsigned char> in(2048);
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n =
                recvfrom(m_fd, in.data(), in.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n < 0) continue;
            in.resize(static_cast<size_t>(n));
            const std::vector<unsigned char> out = m_script(in);
            if (!out.empty())
                sendto(m_fd, out.data(), out.size(), 0, reinterpret_cast<sockaddr*>(&from), len);
        }
    });
}

ScriptedUdpServer::~ScriptedUdpServer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_fd >= 0) close(m_fd);
}

ChronyServer::ChronyServer(int offsetSeconds) {
    char dir[] = "/tmp/jotterly-chrony-XXXXXX";
    if (!mkdtemp(dir)) return;
    m_dir = dir;
    m_port = FreeLoopbackPort(SOCK_DGRAM);
    const std::string conf = m_dir + "/chrony.conf";
    std::ofstream(conf) << "port " << m_port << "\nbindaddress 127.0.0.1\nlocal stratum 8\n"
                        << "allow 127.0.0.1\ncmdport 0\npidfile " << m_dir << "/chronyd.pid\n"
                        << "driftfile " << m_dir << "/drift\n";
    if ((m_pid = fork()) == 0) {
        if (offsetSeconds != 0) {
            setenv("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1", 1);
            setenv("FAKETIME",
                   ((offsetSeconds > 0 ? "+" : "") + std::to_string(offsetSeconds)).c_str(), 1);
        }
        // -x: never set the system clock; -d: stay in the foreground.
        execl("/usr/sbin/chronyd", "chronyd", "-f", conf.c_str(), "-x", "-d", "-u", "root",
              nullptr);
        _exit(127);
    }
    // It answers once it has started and taken its local clock as the reference.
    for (int i = 0; i < 40 && m_pid > 0 && !m_answers; ++i) {
        CSntpClient client;
        client.SetTimeoutMs(250);
        SntpPacket::Sample sample;
        m_answers = client.Measure("127.0.0.1:" + std::to_string(m_port), sample);
        if (!m_answers) SleepMs(250); // a closed port is refused at once
    }
}

ChronyServer::~ChronyServer() {
    StopChild(m_pid);
    std::error_code ec;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ec);
}
