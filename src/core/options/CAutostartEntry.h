#pragma once

#include <string>

// The desktop's autostart entry that starts the program at login:
// $XDG_CONFIG_HOME/autostart/jotterly.desktop (~/.config when the variable is unset or not an
// absolute path).
class CAutostartEntry {
public:
    static std::string Path();
    // An entry is there and the desktop has not been told to skip it (Hidden, or the
    // autostart switch some desktops write).
    static bool Enabled();
    // The entry's text for the program at exePath; empty when the path cannot be written in
    // an entry (a line break in it).
    static std::string Contents(const std::string& exePath);
    // Writes the entry (atomically) unless it holds these contents already.
    static bool Write(const std::string& exePath, std::string* reason);
    // Removes the entry; an entry that is not there is no failure.
    static bool Remove(std::string* reason);
    // The absolute path of the running program.
    static std::string RunningProgram();
};
