#include "support/CupsServer.h"
#include "support/Loopback.h"
#include "support/TestFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

CupsServer::CupsServer()
    : m_dir((fs::temp_directory_path() / "jotterly-cups-XXXXXX").string()),
      m_port(FreeLoopbackPort()) {
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
    for (int i = 0; i < 200 && !LoopbackAccepts(m_port); ++i) {
        if (waitpid(m_pid, nullptr, WNOHANG) != 0) {
            m_pid = -1;
            m_error = "cupsd ended at once: " + LogTail();
            return false;
        }
        SleepMs(50);
    }
    if (!LoopbackAccepts(m_port)) {
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
    StopChild(m_pid);
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
    const std::string all = ReadFile(m_dir + "/logs/stdout") + ReadFile(m_dir + "/logs/error_log");
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}
