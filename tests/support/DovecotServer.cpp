#include "support/DovecotServer.h"
#include "support/Loopback.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

DovecotServer::DovecotServer()
    : m_dir((fs::temp_directory_path() / "jotterly-dovecot-XXXXXX").string()) {
    if (!mkdtemp(m_dir.data())) m_error = "mkdtemp failed";
    chmod(m_dir.c_str(), 0755); // the mail processes must pass through it
}

DovecotServer::~DovecotServer() {
    Stop();
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

void DovecotServer::AddUser(const std::string& name, const std::string& password,
                            const std::vector<std::string>& mails) {
    const std::string home = m_dir + "/mail/" + name, raw = m_dir + "/raw/" + name;
    fs::create_directories(home);
    fs::create_directories(raw);
    std::ofstream inbox(home + "/inbox");
    for (const auto& mail : mails)
        inbox << "From MAILER-DAEMON Mon Jan  1 00:00:00 2024\n" << mail << "\n";
    inbox.close();
    // The mail processes run as uid 65534: the mailbox and the raw log are theirs.
    for (const std::string& path : {home, home + "/inbox", raw})
        if (chown(path.c_str(), 65534, 65534) != 0) m_error = "cannot chown " + path;
    std::ofstream(m_dir + "/users", std::ios::app)
        << name << ":{PLAIN}" << password << ":65534:65534::" << home
        << "::userdb_mail=mbox:~/mail:INBOX=~/inbox\n";
}

std::string DovecotServer::Log() const {
    return ReadFile(m_dir + "/dovecot.log");
}

void DovecotServer::EnableTls(const std::string& certFile, const std::string& keyFile) {
    m_certFile = certFile;
    m_keyFile = keyFile;
}

bool DovecotServer::Start() {
    const std::string& d = m_dir;
    const std::string conf = d + "/dovecot.conf", log = d + "/dovecot.log", out = d + "/out.log";
    // On a port another program holds, the server exits at once: then the next one is tried.
    for (int attempt = 0; attempt < 5 && m_error.empty() && m_pid < 0; ++attempt) {
        m_port = static_cast<unsigned short>(20000 + (getpid() * 7 + attempt * 4099) % 30000);
        m_tlsPort = m_certFile.empty() ? 0 : static_cast<unsigned short>(m_port + 1);
        fs::remove(log);
        const std::string ssl = m_certFile.empty() ? "ssl = no\n"
                                                   : "ssl = yes\nssl_cert = <" + m_certFile +
                                                         "\nssl_key = <" + m_keyFile + "\n";
        const std::string tlsListener =
            m_certFile.empty() ? ""
                               : " inet_listener pop3s {\n  address = 127.0.0.1\n  port = " +
                                     std::to_string(m_tlsPort) + "\n  ssl = yes\n }\n";
        std::ofstream(conf)
            << "base_dir = " << d << "/run\nstate_dir = " << d << "/state\nlog_path = " << log
            << "\nrawlog_dir = " << d << "/raw/%u\n"
            << "protocols = pop3\nlisten = 127.0.0.1\n"
            << ssl
            << "disable_plaintext_auth = no\n"
               "auth_mechanisms = plain login\nfirst_valid_uid = 65534\nlast_valid_uid = 65534\n"
               // A wrong password is answered at once, not after seconds of penalty.
               "auth_failure_delay = 0\nservice anvil {\n unix_listener anvil-auth-penalty {\n"
               "  mode = 0\n }\n}\n"
            << "passdb {\n driver = passwd-file\n args = scheme=PLAIN username_format=%u " << d
            << "/users\n}\nuserdb {\n driver = passwd-file\n args = username_format=%u " << d
            << "/users\n}\nservice pop3-login {\n inet_listener pop3 {\n  port = 0\n }\n"
            << " inet_listener pop3test {\n  address = 127.0.0.1\n  port = " << m_port << "\n }\n"
            << tlsListener << "}\n";
        if ((m_pid = fork()) == 0) {
            // All three streams redirected, or the server hangs on a pipe.
            const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
            const int to = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
            dup2(in, 0), dup2(to, 1), dup2(to, 2);
            execl("/usr/sbin/dovecot", "dovecot", "-F", "-c", conf.c_str(), nullptr);
            _exit(127);
        }
        for (const long long end = NowMs() + 10000; NowMs() < end; SleepMs(20)) {
            if (waitpid(m_pid, nullptr, WNOHANG) != 0) break; // it exited
            if (ReadFile(log).find("starting up") == std::string::npos) continue;
            m_upAtMs = NowMs();
            return true;
        }
        if (waitpid(m_pid, nullptr, WNOHANG) == 0) kill(m_pid, SIGKILL), waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    if (m_error.empty()) m_error = "dovecot did not start: " + ReadFile(out) + ReadFile(log);
    return false;
}

void DovecotServer::Stop() {
    if (m_pid <= 0) return;
    // Stopped within 0.3 s of opening its port, the server can leave its children behind.
    SleepMs(std::max(0LL, m_upAtMs + 300 - NowMs()));
    StopChild(m_pid);
}

std::vector<std::string> DovecotServer::CommandsAfterLogin(const std::string& user) const {
    std::vector<std::string> commands;
    for (const long long end = NowMs() + 5000; NowMs() < end; SleepMs(20)) {
        commands.clear();
        for (const auto& entry : fs::directory_iterator(m_dir + "/raw/" + user)) {
            std::istringstream lines(entry.path().extension() == ".in" ? ReadFile(entry.path())
                                                                       : "");
            for (std::string line; std::getline(lines, line);) // "<time> <command>\r"
                commands.push_back(
                    line.substr(line.find(' ') + 1, line.size() - line.find(' ') - 2));
        }
        if (!commands.empty() && commands.back() == "QUIT") break;
    }
    return commands;
}
