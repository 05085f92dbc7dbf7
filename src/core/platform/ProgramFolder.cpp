#include "core/platform/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

std::string UserHome() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir == '/')
        return pw->pw_dir;
    return {};
}

std::string ProgramFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(exe.parent_path() / "Note.Dat", ec))
        return exe.parent_path().string() + "/";
    fs::path base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const std::string home = UserHome();
        // Without any home the folder is relative to where the program started; the start-up
        // check of the folder's owner still applies to it.
        base = fs::path(home.empty() ? "." : home) / ".local" / "share";
    }
    fs::path folder = base / "jotterly";
    if (fs::create_directories(folder, ec)) fs::permissions(folder, fs::perms::owner_all, ec);
    return folder.string() + "/";
}
