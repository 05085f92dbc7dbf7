#include "support/CupsServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A port nobody listens on now (the kernel's choice for a socket bound to port 0).
unsigned short FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    unsigned short port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

bool Accepts(unsigned short port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}
} // namespace

CupsServer::CupsServer()
    : m_dir((fs::temp_directory_path() / "jotterly-cups-XXXXXX").string()), m_port(FreePort()) {
    if (!mkdtemp(m_dir.data())) m_error = "mkdtemp failed";
    m_out = m_dir + "/out";
    m_queue = "JotterlyTest" + std::to_string(getpid());
    m_queueConf = "/etc/cups/cups-pdf-" + m_queue + ".conf";
}

CupsServer::~CupsServer() {
    Stop();
    std::error_code ec;
    fs::remove(m_queueConf, ec);
    fs::remove_all(m_dir, ec);
}

bool CupsServer::Start() {
    if (!m_error.empty()) return false;
    if (geteuid() != 0) {
        m_error = "the PDF printer (cups-pdf) runs only for root";
        return false;
    }
    const std::string& d = m_dir;
    for (const char* sub : {"spool/tmp", "cache", "state", "logs", "out"})
        fs::create_directories(d + "/" + sub);
    std::ofstream(d + "/cupsd.conf")
        << "Listen 127.0.0.1:" << m_port << "\nLogLevel info\nWebInterface No\nBrowsing Off\n"
        << "DefaultAuthType None\n<Location />\n Order allow,deny\n Allow all\n</Location>\n"
        << "<Location /admin>\n Order allow,deny\n Allow all\n</Location>\n"
        << "<Policy default>\n <Limit All>\n  Order allow,deny\n  Allow all\n </Limit>\n"
        << "</Policy>\n";
    std::ofstream(d + "/cups-files.conf")
        << "ServerRoot " << d << "\nRequestRoot " << d << "/spool\nTempDir " << d
        << "/spool/tmp\nCacheDir " << d << "/cache\nStateDir " << d << "/state\nErrorLog " << d
        << "/logs/error_log\nAccessLog " << d << "/logs/access_log\nPageLog " << d
        << "/logs/page_log\n";
    // cups-pdf reads the configuration of a queue named in its device URI from this file.
    std::ofstream(m_queueConf) << "Out " << m_out << "\nAnonDirName " << m_out << "\nLog " << d
                               << "/logs\n";
    if (!fs::exists(m_queueConf)) {
        m_error = "cannot write " + m_queueConf;
        return false;
    }

    if ((m_pid = fork()) == 0) {
        const std::string log = d + "/logs/stdout";
        if (!freopen(log.c_str(), "w", stdout) || !freopen(log.c_str(), "a", stderr)) _exit(126);
        execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (d + "/cupsd.conf").c_str(), "-s",
              (d + "/cups-files.conf").c_str(), nullptr);
        _exit(127);
    }
    for (int i = 0; i < 200 && !Accepts(m_port); ++i) {
        if (waitpid(m_pid, nullptr, WNOHANG) != 0) {
            m_pid = -1;
            m_error = "cupsd ended at once: " + LogTail();
            return false;
        }
        SleepMs(50);
    }
    if (!Accepts(m_port)) {
        m_error = "cupsd does not answer: " + LogTail();
        return false;
    }
    const std::string host = " -h " + Address() + " ";
    std::string out;
    if (!Run("lpadmin" + host + "-p " + m_queue + " -E -v cups-pdf:/" + m_queue +
                 " -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd",
             &out) ||
        !Run("lpadmin" + host + "-d " + m_queue, &out)) {
        m_error = "lpadmin failed: " + out;
        return false;
    }
    return true;
}

void CupsServer::Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    for (int i = 0; waitpid(m_pid, nullptr, WNOHANG) == 0; ++i, SleepMs(10))
        if (i == 500) kill(m_pid, SIGKILL);
    m_pid = -1;
}

std::string CupsServer::WaitForPdf(int timeoutMs) const {
    for (int waited = 0; waited <= timeoutMs; waited += 100, SleepMs(100)) {
        std::string pending;
        if (!Run("lpstat -h " + Address() + " -o " + m_queue, &pending) || !pending.empty())
            continue;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(m_out, ec))
            if (e.path().extension() == ".pdf") return e.path().string();
    }
    return {};
}

bool CupsServer::Run(const std::string& command, std::string* output) const {
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return false;
    std::string text;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p))
        text.append(buf, n);
    const int status = pclose(p);
    if (output) *output = text;
    return status == 0;
}

std::string CupsServer::LogTail() const {
    std::ifstream in(m_dir + "/logs/stdout");
    std::string all{std::istreambuf_iterator<char>(in), {}};
    std::ifstream err(m_dir + "/logs/error_log");
    all += std::string{std::istreambuf_iterator<char>(err), {}};
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}
