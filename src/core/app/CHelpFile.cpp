#include "core/app/CHelpFile.h"

#include <filesystem>

std::string CHelpFile::Find(const std::string& programDir) {
    namespace fs = std::filesystem;
    if (programDir.empty()) return {};
    for (const char* relative : {kRelativeInBuild, kRelativeInstalled}) {
        std::error_code ec;
        fs::path candidate = fs::weakly_canonical(fs::path(programDir) / relative, ec);
        if (!ec && fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    return {};
}
