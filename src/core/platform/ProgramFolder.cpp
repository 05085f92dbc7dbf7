#include "platform/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>

std::string ProgramFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(exe.parent_path() / "Note.Dat", ec))
        return exe.parent_path().string() + "/";
    fs::path base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : "/tmp") / ".local" / "share";
    }
    fs::path folder = base / "jotterly";
    fs::create_directories(folder, ec);
    return folder.string() + "/";
}
