#include "core/options/CAutostartEntry.h"

#include "core/storage/CAtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

// One argument of an Exec line: quoted when it holds a character the launcher would split or
// interpret; inside the quotes ", `, $ and \ take a backslash.
std::string ExecArgument(const std::string& arg) {
    const bool plain = arg.find_first_of(" \t\"'\\><~|&;$*?#()`") == std::string::npos;
    std::string out;
    if (plain) {
        out = arg;
    } else {
        out = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
            out += c;
        }
        out += '"';
    }
    // A literal percent sign is doubled: a single one starts a field code.
    std::string escaped;
    for (char c : out)
        escaped += c == '%' ? std::string("%%") : std::string(1, c);
    return escaped;
}

// The value of a string key: a backslash is written as two.
std::string StringValue(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

std::string CAutostartEntry::Path() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    return base + "/autostart/jotterly.desktop";
}

bool CAutostartEntry::Enabled() {
    std::string text;
    if (!CAtomicFile::Exists(Path()) || !CAtomicFile::ReadAll(Path(), text, nullptr)) return false;
    std::istringstream in(text);
    bool inEntry = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '[') inEntry = line.rfind("[Desktop Entry]", 0) == 0;
        if (!inEntry) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = Lower(line.substr(eq + 1));
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        while (!value.empty() && (value[0] == ' ' || value.back() == ' ' || value.back() == '\r'))
            value = value[0] == ' ' ? value.substr(1) : value.substr(0, value.size() - 1);
        if (key == "Hidden" && value == "true") return false;
        if (key == "X-GNOME-Autostart-enabled" && value == "false") return false;
    }
    return true;
}

std::string CAutostartEntry::Contents(const std::string& exePath) {
    if (exePath.find_first_of("\r\n") != std::string::npos) return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Jotterly\n"
           "Comment=Sticky notes and reminders in the system tray\n"
           "TryExec=" +
           StringValue(exePath) +
           "\n"
           "Exec=" +
           StringValue(ExecArgument(exePath)) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool CAutostartEntry::Write(const std::string& exePath, std::string* reason) {
    const std::string contents = Contents(exePath);
    if (contents.empty()) {
        if (reason) *reason = "the program's path holds a line break";
        return false;
    }
    const std::string path = Path();
    std::string present;
    if (CAtomicFile::Exists(path) && CAtomicFile::ReadAll(path, present, nullptr) &&
        present == contents)
        return true;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) {
        if (reason) *reason = ec.message();
        return false;
    }
    return CAtomicFile::Write(path, contents, reason, 0644);
}

bool CAutostartEntry::Remove(std::string* reason) {
    if (std::remove(Path().c_str()) == 0 || errno == ENOENT) return true;
    if (reason) *reason = std::strerror(errno);
    return false;
}

std::string CAutostartEntry::RunningProgram() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}
