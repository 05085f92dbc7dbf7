#pragma once

#include <string>
#include <vector>

// What the command line asks for: start (perhaps without the logo, perhaps with a word for the
// running copy), print help or the version, settle a sync conflict, or nothing sensible (usage,
// status 2).
struct LaunchRequest {
    enum class Kind { Run, Help, Version, Usage, SyncConflict };
    Kind kind = Kind::Run;
    bool noLogo = false;
    std::string word;               // a launcher word, or empty
    std::string file;               // the absolute path a calendar-file word names
    std::string error;              // for Usage: what was wrong
    std::vector<std::string> paths; // for SyncConflict: the folder, our version, the other
};

// The command line of the program and the launcher words a running copy carries out.
class CLaunchArgs {
public:
    // args: the arguments after the program name.
    static LaunchRequest Parse(const std::vector<std::string>& args);

    // The tray command a word stands for; 0 when it is no launcher word.
    static int CommandFor(const std::string& word);
    // new-note and manager start the program when none runs; the others need a running copy.
    static bool StartsProgram(const std::string& word);

    // One line for stderr after a wrong command line.
    static std::string UsageLine(const std::string& error);
    static std::string HelpText();
    static std::string VersionText();
    // The command line that starts the program without the logo, as before the words.
    static std::string CommandLine(const LaunchRequest& request);
    // The line handed to the running copy: the word, and the file after a space when it has one;
    // kStartedAgain for a start without a word.
    static std::string HandOverLine(const LaunchRequest& request);

    static constexpr const char* kNoLogo = "nologo";
    // The word a CalDAV sync tool runs when a note changed on both sides (never handed over).
    static constexpr const char* kSyncConflict = "sync-conflict";
    // The word "menu": the tray menu, which no command id stands for.
    static constexpr int kOpenMenu = -1;
    // What a start without a word tells the running copy, so the user sees something happen:
    // the notes come to the front and a notice says that Jotterly already runs.
    static constexpr const char* kStartedAgain = "started-again";
    static constexpr int kShowRunning = -2;
    static constexpr const char* kAlreadyRunning = "Jotterly is already running.";
};
