#include "support/DovecotServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(long long ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The mail processes run as uid 65534 and must own the mailboxes and raw logs.
void WriteForMail(const fs::path& path, const std::string* text = nullptr) {
    if (text)
        std::ofstream(path, std::ios::binary | std::ios::trunc) << *text;
    else
        fs::create_directories(path);
    if (chown(path.c_str(), 65534, 65534) != 0)
        throw std::runtime_error("cannot hand " + path.string() + " to uid 65534 (not root?)");
}

sockaddr_in Loopback(unsigned short port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

unsigned short FreeLoopbackPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    const bool ok = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0;
    close(s);
    return ok ? ntohs(a.sin_port) : 0;
}

bool Greets(unsigned short port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(port);
    const timeval wait{2, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char ok[3] = {};
    const bool greets = connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
                        recv(s, ok, 3, MSG_WAITALL) == 3 && std::string(ok, 3) == "+OK";
    close(s);
    return greets;
}
} // namespace

DovecotServer::DovecotServer() {
    std::string dir = (fs::temp_directory_path() / "jotterly-dovecot-XXXXXX").string();
    if (!mkdtemp(dir.data())) throw std::runtime_error("mkdtemp failed");
    m_dir = dir;
    chmod(m_dir.c_str(), 0755); // the mail processes must pass through it
}

DovecotServer::~DovecotServer() {
    Stop();
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

void DovecotServer::AddUser(const std::string& name, const std::string& password,
                            const std::vector<std::string>& messages) {
    std::string mbox;
    for (const auto& message : messages)
        mbox += "From MAILER-DAEMON Mon Jan  1 00:00:00 2024\n" + message + "\n";
    m_users.push_back({name, password, mbox});
}

bool DovecotServer::Start() {
    Stop();
    try {
        // Another program may take the free port before the server binds it: try again.
        for (int attempt = 0; attempt < 5; ++attempt)
            if (StartOnce(FreeLoopbackPort())) return true;
    } catch (const std::exception& e) {
        m_error = e.what();
    }
    return false;
}

bool DovecotServer::StartOnce(unsigned short port) {
    const std::string& d = m_dir;
    std::string users;
    for (const auto& u : m_users) {
        const fs::path home = d + "/mail/" + u.name;
        fs::remove_all(home); // the server rewrites mailboxes; every start begins afresh
        WriteForMail(home);
        WriteForMail(home / "inbox", &u.mbox);
        WriteForMail(d + "/raw/" + u.name);
        users += u.name + ":{PLAIN}" + u.password + ":65534:65534::" + home.string() +
                 "::userdb_mail=mbox:~/mail:INBOX=~/inbox\n";
    }
    std::ofstream(d + "/users") << users;
    std::ofstream(d + "/dovecot.conf")
        << "base_dir = " << d << "/run\nstate_dir = " << d << "/state\nlog_path = " << d
        << "/dovecot.log\nrawlog_dir = " << d << "/raw/%u\n"
        << "protocols = pop3\nlisten = 127.0.0.1\nssl = no\ndisable_plaintext_auth = no\n"
           "auth_mechanisms = plain login\nfirst_valid_uid = 65534\nlast_valid_uid = 65534\n"
           // A wrong password is answered at once, not after seconds of penalty.
           "auth_failure_delay = 0\nservice anvil {\n unix_listener anvil-auth-penalty {\n"
           "  mode = 0\n }\n}\n"
        << "passdb {\n driver = passwd-file\n args = scheme=PLAIN username_format=%u " << d
        << "/users\n}\nuserdb {\n driver = passwd-file\n args = username_format=%u " << d
        << "/users\n}\nservice pop3-login {\n inet_listener pop3 {\n  port = 0\n }\n"
        << " inet_listener pop3test {\n  address = 127.0.0.1\n  port = " << port << "\n }\n}\n";

    const std::string conf = d + "/dovecot.conf", out = d + "/out.log";
    const pid_t pid = fork();
    if (pid == 0) {
        // All three streams redirected, or the server hangs on a pipe.
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int log = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        dup2(in, 0), dup2(log, 1), dup2(log, 2);
        execl("/usr/sbin/dovecot", "dovecot", "-F", "-c", conf.c_str(), nullptr);
        _exit(127);
    }
    for (const long long deadline = NowMs() + 10000; NowMs() < deadline; SleepMs(20)) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            m_error = "dovecot exited: " + Read(out) + Read(d + "/dovecot.log");
            return false;
        }
        if (Greets(port)) {
            m_pid = pid;
            m_port = port;
            m_readyAtMs = NowMs();
            return true;
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    m_error = "dovecot did not greet within 10 s";
    return false;
}

void DovecotServer::Stop() {
    if (m_pid <= 0) return;
    // Stopped within 0.3 s of opening its port, the server can leave its children behind.
    SleepMs(std::max(0LL, m_readyAtMs + 300 - NowMs()));
    kill(m_pid, SIGTERM);
    for (int i = 0; waitpid(m_pid, nullptr, WNOHANG) == 0; ++i, SleepMs(10))
        if (i == 500) kill(m_pid, SIGKILL);
    m_pid = -1;
}

std::vector<std::string> DovecotServer::CommandsAfterLogin(const std::string& user) const {
    std::vector<std::string> commands;
    for (const long long deadline = NowMs() + 5000; NowMs() < deadline; SleepMs(20)) {
        std::vector<fs::path> files; // one per session, named by its start time
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(m_dir + "/raw/" + user, ec))
            if (entry.path().extension() == ".in") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        commands.clear();
        for (const auto& file : files) {
            std::istringstream lines(Read(file));
            for (std::string line; std::getline(lines, line);) { // "<time> <command>\r"
                if (!line.empty() && line.back() == '\r') line.pop_back();
                commands.push_back(line.substr(line.find(' ') + 1));
            }
        }
        if (!commands.empty() && commands.back() == "QUIT") break;
    }
    return commands;
}
