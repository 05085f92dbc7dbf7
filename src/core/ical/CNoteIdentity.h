#pragma once

#include "core/model/CNoteStore.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// The stable identity of every note (its calendar UID), kept beside the data file in
// "<data file>.ids" so "Note.Dat" keeps its layout. The side file lists one line per note in
// the data file's order and names the data file it belongs to by size and hash: when another
// program changed the data file, the notes are matched again by their content, and only notes
// that match none get a new identity. It is rewritten atomically after every save. Each line
// may carry more tab-separated fields after the four of its own (state a sync keeps per note);
// they are kept as they are.
class CNoteIdentity {
public:
    struct Entry {
        std::string uid;
        uint64_t contentHash = 0;
        int sequence = 0;     // raised each time the note's content changed
        int64_t modified = 0; // when it last changed, seconds since 1970 (UTC)
        std::string extra;    // further fields, kept as they are
    };

    static std::string PathFor(const std::string& dataPath) { return dataPath + ".ids"; }

    // After a load of dataBytes from dataPath: every note gets its identity (m_uid).
    // Returns how many notes were matched by content rather than by their place.
    int AfterLoad(const std::string& dataPath, const std::string& dataBytes,
                  const CNoteStore::Notes& notes, int64_t now);
    // After dataBytes were saved: notes without an identity (or sharing one) get a new one,
    // changed notes a higher sequence, and the side file is replaced. False with a reason when
    // it could not be written (the data file is saved all the same).
    bool AfterSave(const std::string& dataPath, const std::string& dataBytes,
                   const CNoteStore::Notes& notes, int64_t now, std::string* reason);

    // Gives notes without an identity, or with one an earlier note has, a new one.
    static void EnsureUnique(const CNoteStore::Notes& notes);
    const Entry* Find(const std::string& uid) const;

    // What a note is, for telling whether it changed: type, times, rule, texts, category.
    static uint64_t ContentHash(const CNote& note);
    static uint64_t BytesHash(const std::string& bytes);
    static std::string NewUid();

    static constexpr size_t kMaxFileBytes = size_t{64} << 20;

private:
    std::unordered_map<std::string, Entry> m_entries;
};
