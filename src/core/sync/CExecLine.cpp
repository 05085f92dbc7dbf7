#include "core/sync/CExecLine.h"

#include <cstring>

bool CExecLine::Split(const std::string& line, std::vector<std::string>& args, std::string* error) {
    args.clear();
    auto fail = [&](const char* why) {
        if (error) *error = why;
        args.clear();
        return false;
    };
    if (line.size() > kMaxLength) return fail("The sync command is too long.");
    std::string arg;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < line.size() && std::strchr("\"`$\\", line[i + 1])) {
                arg += line[++i];
            } else {
                arg += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArg) args.push_back(arg);
            arg.clear();
            inArg = false;
        } else if (c == '"') {
            quoted = inArg = true;
        } else if (c == '%' && i + 1 < line.size()) {
            if (line[++i] == '%') {
                arg += '%';
                inArg = true;
            }
        } else if (c == '\\' && i + 1 < line.size()) {
            arg += line[++i];
            inArg = true;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (quoted) return fail("The sync command has a quote that is not closed.");
    if (inArg) args.push_back(arg);
    if (args.empty()) return fail("The sync command is empty.");
    return true;
}
