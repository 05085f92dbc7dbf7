#pragma once

#include <string>
#include <vector>

// A command line split into its program and arguments the way a desktop entry's Exec line is:
// blanks separate, double quotes group (inside them a backslash escapes " ` $ and \), and "%%"
// is a percent sign; field codes such as %f stand for nothing here and are dropped. No shell
// ever sees the line.
class CExecLine {
public:
    // False with the reason for an empty line, an open quote or a line too long.
    static bool Split(const std::string& line, std::vector<std::string>& args, std::string* error);
    static constexpr size_t kMaxLength = 4096;
};
