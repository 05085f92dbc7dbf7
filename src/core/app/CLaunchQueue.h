#pragma once

#include <deque>
#include <functional>
#include <string>

class ILaunchHost;

// The launcher words a running copy was handed. Each is carried out as its tray menu item
// would be, once the program is idle: a word that arrives while the Note Manager, the options,
// a ringing note or a transfer has the program waits for it to end rather than being lost. A
// word for the manager while it is open only brings it to the front, as a second start does
// (which otherwise brings the notes forward).
class CLaunchQueue {
public:
    // runCommand: carries out a tray command id, or CLaunchArgs::kOpenMenu.
    CLaunchQueue(ILaunchHost& core, std::function<void(int)> runCommand);

    // False (and nothing kept) for a line that is no launcher word, or when too many wait.
    bool Push(const std::string& word);
    // Carries out the waiting words the program can take now; true when some still wait.
    bool RunReady();
    bool Pending() const { return !m_commands.empty(); }

    static constexpr std::size_t kMaxPending = 32;

private:
    bool CanRun(int command) const;

    ILaunchHost& m_core;
    std::function<void(int)> m_runCommand;
    std::deque<int> m_commands;
};
