#pragma once

#include <string>

// One writer per data file: an advisory lock (flock) on "Note.Dat.lock" beside the data file,
// held for the life of the program whatever runtime folder or session it runs in. The lock file
// names its holder (process, host, and the socket where it takes launcher words), so a second
// copy can hand its word over or tell the user who holds the notes.
class CDataLock {
public:
    enum class Result { Ours, HeldByOther, Failed };
    struct Holder {
        long pid = 0;
        std::string host;
        std::string socket; // empty when the holder takes no words
    };

    CDataLock() = default;
    ~CDataLock();
    CDataLock(const CDataLock&) = delete;
    CDataLock& operator=(const CDataLock&) = delete;

    // Takes the lock for dataPath and records socket as the place for launcher words. When
    // another process holds it, Holder() tells which. reason says why on Failed.
    Result Acquire(const std::string& dataPath, const std::string& socket, std::string* reason);
    void Release();
    bool Held() const { return m_fd >= 0; }
    const Holder& Other() const { return m_other; }
    // "process 1234 on host example"
    static std::string Describe(const Holder& holder);

    // "" when the folder can hold the user's notes: a folder (or a link to one, both the
    // user's) owned by the user and not writable by everybody; else the reason why not.
    static std::string CheckDataFolder(const std::string& folder);

private:
    int m_fd = -1;
    Holder m_other;
};
