#pragma once

#include <string>

// Finds the help page that ships with the program: beside the program in a build tree, or
// in the shared data folder of an installation.
class CHelpFile {
public:
    static constexpr const char* kRelativeInBuild = "help/index.html";
    static constexpr const char* kRelativeInstalled = "../share/jotterly/help/index.html";

    // programDir: the folder of the running program. Empty when no help page is found.
    static std::string Find(const std::string& programDir);
};
