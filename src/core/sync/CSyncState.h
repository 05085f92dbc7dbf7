#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

// What the sync folder held of each note when it was last mirrored or read, kept in
// "<data file>.sync" so a change can be told from one made here, there, or on both sides. The
// file is written atomically after the folder and "Note.Dat" agree; a missing or damaged one
// reads as empty, which makes the next rescan compare every file with its note by content.
class CSyncState {
public:
    struct Entry {
        std::string name;      // the file's name in the folder
        uint64_t fileHash = 0; // of the file's bytes
        uint64_t noteHash = 0; // CSyncFolder::NoteHash of the note they hold
        uint64_t size = 0;     // the file's size, and its change time and inode in one number,
        int64_t stamp = 0;     // when last looked at: an unchanged pair spares reading it again
        int64_t alarm = 0;     // the alarm it carried (UTC seconds, 0 = none)
        int64_t acknowledged = 0;
    };
    using Entries = std::unordered_map<std::string, Entry>; // by UID

    static std::string PathFor(const std::string& dataPath) { return dataPath + ".sync"; }

    // The entries for folder; none when the file names another folder or cannot be read.
    static Entries Read(const std::string& path, const std::string& folder);
    static Entries Parse(const std::string& bytes, const std::string& folder);
    static std::string Format(const Entries& entries, const std::string& folder);
    static bool Write(const std::string& path, const Entries& entries, const std::string& folder,
                      std::string* reason);

    static constexpr size_t kMaxFileBytes = size_t{64} << 20;
};
