#include "app/CLaunchArgs.h"

#include "app/TrayIds.h"

#include <array>
#include <utility>

namespace {
struct Word {
    const char* name;
    int command;
    const char* help;
};
constexpr std::array<Word, 6> kWords{{
    {"new-note", TrayId::CmdNewNote, "make a new note (starts Jotterly when it is not running)"},
    {"manager", TrayId::CmdNoteManager, "open the Note Manager (starts Jotterly if need be)"},
    {"show-notes", TrayId::CmdShowNotes, "bring the notes on the desktop to the front"},
    {"close-notes", TrayId::CmdCloseNotes, "close the notes on the desktop"},
    {"menu", CLaunchArgs::kOpenMenu, "open the tray menu at the mouse pointer"},
    {"quit", TrayId::CmdExit, "save and end the running Jotterly"},
}};

LaunchRequest Usage(std::string error) {
    LaunchRequest request;
    request.kind = LaunchRequest::Kind::Usage;
    request.error = std::move(error);
    return request;
}
} // namespace

LaunchRequest CLaunchArgs::Parse(const std::vector<std::string>& args) {
    LaunchRequest request;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            request.kind = LaunchRequest::Kind::Help;
            return request;
        }
        if (arg == "--version") {
            request.kind = LaunchRequest::Kind::Version;
            return request;
        }
    }
    for (const std::string& arg : args) {
        if (arg == kNoLogo && !request.noLogo) {
            request.noLogo = true;
        } else if (CommandFor(arg) != 0 && request.word.empty()) {
            request.word = arg;
        } else if (arg == kNoLogo || CommandFor(arg) != 0) {
            return Usage("'" + arg + "' given twice or after another action");
        } else {
            return Usage("unknown word '" + arg + "'");
        }
    }
    return request;
}

int CLaunchArgs::CommandFor(const std::string& word) {
    for (const Word& w : kWords)
        if (word == w.name) return w.command;
    return 0;
}

bool CLaunchArgs::StartsProgram(const std::string& word) {
    return word == "new-note" || word == "manager";
}

std::string CLaunchArgs::UsageLine(const std::string& error) {
    std::string line = "jotterly: ";
    if (!error.empty()) line += error + "; ";
    line += "usage: jotterly [nologo] [new-note|manager|show-notes|close-notes|menu|quit] "
            "(see jotterly --help)";
    return line;
}

std::string CLaunchArgs::HelpText() {
    std::string text = "Usage: jotterly [nologo] [ACTION]\n"
                       "Sticky notes and reminders in the system tray.\n"
                       "\n"
                       "With no action Jotterly starts (a second start does nothing). An action\n"
                       "is handed to the Jotterly that runs:\n";
    for (const Word& w : kWords) {
        std::string name = w.name;
        text += "  " + name + std::string(14 - name.size(), ' ') + w.help + "\n";
    }
    text += "\n"
            "  nologo        start without showing the logo\n"
            "  --help        show this help and end\n"
            "  --version     show the version and end\n"
            "\n"
            "The notes are kept in Note.Dat in ~/.local/share/jotterly/.\n";
    return text;
}

std::string CLaunchArgs::VersionText() {
    return std::string("jotterly ") + JOTTERLY_VERSION + "\n";
}

std::string CLaunchArgs::CommandLine(const LaunchRequest& request) {
    return request.noLogo ? kNoLogo : "";
}
