#include "support/DovecotServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {
// Dovecot runs the mail processes as this user; the test's folders must be reachable by it.
constexpr int kMailUid = 65534;

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWhole(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void MakeMailDir(const fs::path& path) {
    fs::create_directories(path);
    chmod(path.c_str(), 0755);
    if (chown(path.c_str(), kMailUid, kMailUid) != 0)
        throw std::runtime_error("cannot hand " + path.string() + " to the mail user");
}

unsigned short FreeLoopbackPort() {
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

// True once a connection to the port is greeted with "+OK".
bool Greets(unsigned short port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    bool ok = false;
    if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        pollfd p{s, POLLIN, 0};
        char buf[64] = {};
        if (poll(&p, 1, 2000) == 1 && recv(s, buf, 3, MSG_WAITALL) == 3)
            ok = std::string(buf, 3) == "+OK";
        send(s, "QUIT\r\n", 6, MSG_NOSIGNAL);
    }
    close(s);
    return ok;
}

// One mbox file: a separator line before each mail, body lines that could pass for one
// quoted with ">".
std::string MboxOf(const std::vector<std::string>& messages) {
    std::string box;
    for (const auto& message : messages) {
        box += "From MAILER-DAEMON Mon Jan  1 00:00:00 2024\n";
        std::istringstream lines(message);
        bool inBody = false;
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (inBody && line.rfind("From ", 0) == 0) line.insert(0, ">");
            if (line.empty()) inBody = true;
            box += line + "\n";
        }
        box += "\n";
    }
    return box;
}
} // namespace

DovecotServer::DovecotServer() {
    std::string tmpl = (fs::temp_directory_path() / "jotterly-dovecot-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_dir = tmpl;
    // A fresh temporary folder is private (0700); the mail processes must pass through it.
    chmod(m_dir.c_str(), 0755);
}

DovecotServer::~DovecotServer() {
    Stop();
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

void DovecotServer::AddUser(const std::string& name, const std::string& password,
                            const std::vector<std::string>& messages) {
    m_users.push_back({name, password, messages});
}

std::string DovecotServer::MakeMail(const std::string& from, const std::string& subject,
                                    const std::string& date, const std::string& body) {
    std::string mail;
    if (!from.empty()) mail += "From: " + from + "\n";
    if (!subject.empty()) mail += "Subject: " + subject + "\n";
    if (!date.empty()) mail += "Date: " + date + "\n";
    mail += "Message-ID: <" + std::to_string(std::hash<std::string>{}(from + subject + date)) +
            "@example.test>\n\n" + body;
    return mail;
}

void DovecotServer::WriteFiles(unsigned short port) {
    const fs::path dir(m_dir);
    std::string users;
    for (const auto& user : m_users) {
        const fs::path home = dir / "mail" / user.name;
        fs::remove_all(home); // the server rewrites mailboxes; each run starts from the list
        MakeMailDir(home);
        const fs::path inbox = home / "inbox";
        WriteWhole(inbox, MboxOf(user.messages));
        chmod(inbox.c_str(), 0600);
        if (chown(inbox.c_str(), kMailUid, kMailUid) != 0)
            throw std::runtime_error("cannot hand the inbox to the mail user");
        MakeMailDir(dir / "raw" / user.name);
        users += user.name + ":{PLAIN}" + user.password + ":65534:65534::" + home.string() +
                 "::userdb_mail=mbox:~/mail:INBOX=~/inbox\n";
    }
    WriteWhole(dir / "users", users);

    std::ostringstream conf;
    conf << "base_dir = " << m_dir << "/run\n"
         << "state_dir = " << m_dir << "/state\n"
         << "log_path = " << m_dir << "/dovecot.log\n"
         << "protocols = pop3\n"
            "listen = 127.0.0.1\n"
            "ssl = no\n"
            "disable_plaintext_auth = no\n"
            "auth_mechanisms = plain login\n"
            "auth_verbose = yes\n"
            // A wrong password is answered at once, not after a penalty of seconds.
            "auth_failure_delay = 0\n"
            "service anvil {\n  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n"
            "first_valid_uid = 65534\n"
            "last_valid_uid = 65534\n"
            "pop3_logout_format = top=%t/%p, retr=%r/%b, del=%d/%m, size=%s\n"
         << "rawlog_dir = " << m_dir << "/raw/%u\n"
         << "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " << m_dir
         << "/users\n}\n"
         << "userdb {\n  driver = passwd-file\n  args = username_format=%u " << m_dir
         << "/users\n}\n"
         << "service pop3-login {\n"
            "  inet_listener pop3 {\n    port = 0\n  }\n"
            "  inet_listener pop3test {\n    address = 127.0.0.1\n    port = "
         << port << "\n  }\n}\n";
    WriteWhole(dir / "dovecot.conf", conf.str());
}

bool DovecotServer::Start() {
    Stop();
    m_error.clear();
    if (geteuid() != 0) {
        m_error = "the test server needs root to hand its mailboxes to uid 65534";
        return false;
    }
    // Another program may take the free port between the look-up and the bind: try again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const unsigned short port = FreeLoopbackPort();
        if (port != 0 && StartOnce(port)) return true;
    }
    if (m_error.empty()) m_error = "dovecot did not start";
    return false;
}

bool DovecotServer::StartOnce(unsigned short port) {
    try {
        WriteFiles(port);
    } catch (const std::exception& e) {
        m_error = e.what();
        return false;
    }
    const std::string conf = m_dir + "/dovecot.conf";
    const std::string out = m_dir + "/out.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // All three streams redirected, or the server hangs on a pipe.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const char* program = access("/usr/sbin/dovecot", X_OK) == 0 ? "/usr/sbin/dovecot" : "dovecot";
    const char* argv[] = {"dovecot", "-F", "-c", conf.c_str(), nullptr};
    pid_t pid = -1;
    const int rc =
        posix_spawnp(&pid, program, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        m_error = std::string("cannot run dovecot: ") + strerror(rc);
        return false;
    }

    const long long deadline = NowMs() + 10000;
    while (NowMs() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            m_error = "dovecot exited: " + ReadWhole(out) + ReadWhole(m_dir + "/dovecot.log");
            return false;
        }
        if (Greets(port)) {
            m_pid = pid;
            m_port = port;
            m_readyAtMs = NowMs();
            return true;
        }
        SleepMs(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    m_error = "dovecot did not greet within 10 s";
    return false;
}

void DovecotServer::Stop() {
    if (m_pid <= 0) return;
    // Stopped right after it opened its port, the server can leave its children behind.
    const long long settle = m_readyAtMs + 300 - NowMs();
    if (settle > 0) SleepMs(static_cast<int>(settle));
    kill(m_pid, SIGTERM);
    const long long deadline = NowMs() + 5000;
    int status = 0;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (NowMs() > deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        SleepMs(10);
    }
    m_pid = -1;
}

std::string DovecotServer::Log() const {
    return ReadWhole(m_dir + "/dovecot.log");
}

std::string DovecotServer::WaitForSessionEnd(const std::string& user, int timeoutMs) const {
    const std::string session = "pop3(" + user + ")";
    const std::string login = "user=<" + user + ">";
    const long long deadline = NowMs() + timeoutMs;
    do {
        std::istringstream lines(Log());
        for (std::string line; std::getline(lines, line);) {
            if (line.find("Disconnected") == std::string::npos) continue;
            if (line.find(session) != std::string::npos ||
                (line.find("pop3-login:") != std::string::npos &&
                 line.find(login) != std::string::npos))
                return line;
        }
        SleepMs(10);
    } while (NowMs() < deadline);
    return {};
}

std::vector<std::string> DovecotServer::CommandsAfterLogin(const std::string& user) const {
    const fs::path dir = fs::path(m_dir) / "raw" / user;
    const auto readAll = [&] {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec))
            if (entry.path().extension() == ".in") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        std::vector<std::string> commands;
        for (const auto& file : files) {
            std::istringstream lines(ReadWhole(file));
            // Each line: "<seconds.micros> <command>".
            for (std::string line; std::getline(lines, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                const auto blank = line.find(' ');
                commands.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
            }
        }
        return commands;
    };
    // The raw log may be written out a moment after the session ends: wait until it is still.
    auto commands = readAll();
    for (int i = 0; i < 50; ++i) {
        SleepMs(20);
        auto again = readAll();
        if (again == commands) break;
        commands = std::move(again);
    }
    return commands;
}
