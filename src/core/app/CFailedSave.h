#pragma once

#include <string>

class IDialogs;

// A save that did not write: it is tried again by itself a little later (5 s, 30 s, then every
// 2 minutes) and told to the user once; at Exit the user chooses what becomes of the changes.
class CFailedSave {
public:
    static constexpr int kRetryMs[] = {5000, 30000, 120000};

    // A save did not write, for reason: returns the delay before the next try.
    int Failed(const std::string& reason);
    void Succeeded();
    // Failing since the last save that wrote.
    bool Failing() const { return m_failures > 0; }
    const std::string& Reason() const { return m_reason; }

    enum class ExitChoice { Retry, SaveCopy, Quit, Stay };
    // What to do at Exit when the save did not write. Quitting without saving is confirmed.
    static ExitChoice AskAtExit(IDialogs& dialogs, const std::string& path,
                                const std::string& reason);
    // Writes bytes to a file the user picks: true once they are there (the user is told).
    static bool SaveCopy(IDialogs& dialogs, const std::string& bytes);

private:
    int m_failures = 0;
    std::string m_reason;
};
