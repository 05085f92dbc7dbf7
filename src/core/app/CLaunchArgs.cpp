#include "core/app/CLaunchArgs.h"

#include "core/app/CCalendarWords.h"
#include "core/app/TrayIds.h"

#include <array>
#include <filesystem>
#include <system_error>
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

// The words a user may type; kStartedAgain is the program's own.
bool IsUserWord(const std::string& arg) {
    return arg != CLaunchArgs::kStartedAgain && CLaunchArgs::CommandFor(arg) != 0;
}

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
    if (!args.empty() && args[0] == kSyncConflict) {
        if (args.size() != 4)
            return Usage(std::string("'") + kSyncConflict +
                         "' needs the sync folder and the files of the two versions");
        request.kind = LaunchRequest::Kind::SyncConflict;
        request.paths.assign(args.begin() + 1, args.end());
        return request;
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (CCalendarWords::IsWord(arg)) {
            if (!request.word.empty()) return Usage("'" + arg + "' given after another action");
            if (i + 1 >= args.size() || args[i + 1].empty())
                return Usage("'" + arg + "' needs the name of a calendar file");
            // The running copy has another working folder: it gets the whole path.
            std::error_code ec;
            const auto path = std::filesystem::absolute(args[++i], ec);
            if (ec) return Usage("'" + args[i] + "' is no usable file name");
            request.word = arg;
            request.file = path.lexically_normal().string();
        } else if (arg == kNoLogo && !request.noLogo) {
            request.noLogo = true;
        } else if (IsUserWord(arg) && request.word.empty()) {
            request.word = arg;
        } else if (arg == kNoLogo || IsUserWord(arg)) {
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
    return word == kStartedAgain ? kShowRunning : 0;
}

bool CLaunchArgs::StartsProgram(const std::string& word) {
    return word == "new-note" || word == "manager";
}

std::string CLaunchArgs::UsageLine(const std::string& error) {
    std::string line = "jotterly: ";
    if (!error.empty()) line += error + "; ";
    line += "usage: jotterly [nologo] [new-note|manager|show-notes|close-notes|menu|quit|"
            "export-ics FILE|import-ics FILE] (see jotterly --help)";
    return line;
}

std::string CLaunchArgs::HelpText() {
    std::string text = "Usage: jotterly [nologo] [ACTION]\n"
                       "Sticky notes and reminders in the system tray.\n"
                       "\n"
                       "With no action Jotterly starts (a second start brings the notes of the\n"
                       "running Jotterly to the front). An action is handed to the Jotterly that\n"
                       "runs:\n";
    for (const Word& w : kWords) {
        std::string name = w.name;
        text += "  " + name + std::string(14 - name.size(), ' ') + w.help + "\n";
    }
    text += "  export-ics FILE  write every note to an iCalendar (.ics) file\n"
            "  import-ics FILE  add the events, to-dos and journal entries of an .ics file\n"
            "                (both work on the data file when Jotterly is not running)\n"
            "  sync-conflict FOLDER OURS OTHER\n"
            "                keep both versions of a note changed on both sides of a CalDAV\n"
            "                sync (vdirsyncer's conflict_resolution command; see README)\n";
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

std::string CLaunchArgs::HandOverLine(const LaunchRequest& request) {
    if (request.word.empty()) return kStartedAgain;
    return request.file.empty() ? request.word : request.word + " " + request.file;
}

std::string CLaunchArgs::CommandLine(const LaunchRequest& request) {
    return request.noLogo ? kNoLogo : "";
}
