#pragma once

#include "core/model/CNoteStore.h"
#include "core/sync/CSyncState.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Keeps a folder of one calendar file per note ("<UID>.ics") in step with the notes, for a sync
// tool (a peer-to-peer folder sync, or a CalDAV client) to carry to other machines. Mirror
// writes the notes that changed since they were last written; Rescan takes in what other
// machines changed. Nothing is ever lost: a note changed on both sides is kept twice, conflict
// files of sync tools become notes, a folder that lost most of its files at once removes
// nothing, and files that do not read are left alone.
class CSyncFolder {
public:
    // dataPath: "Note.Dat", beside which the sync state is kept.
    CSyncFolder(std::string folder, std::string dataPath);

    const std::string& Folder() const { return m_folder; }
    // Reads the sync state and removes temporary files an interrupted mirror left.
    void Open();

    // Writes every note whose content changed since the folder last had it, removes the files
    // of notes that are gone, then keeps the state. Run after each save, so what the folder
    // holds is always in "Note.Dat" too. False with a reason when a file could not be written.
    bool Mirror(const CNoteStore& store, int64_t now, std::string* reason);

    struct Report {
        int added = 0, changed = 0, removed = 0, conflicts = 0;
        std::vector<CNote*> updated;         // content or alarm replaced: their windows show anew
        std::vector<CNote*> acknowledged;    // ringing here, acknowledged or snoozed elsewhere
        std::vector<std::string> unreadable; // "name: why", left alone
        std::string problem;                 // a folder that cannot be read, a mass removal
        bool StoreChanged() const { return added || changed || removed || conflicts; }
    };
    using Remover = std::function<void(CNote&)>;
    // Takes in the folder's changes. prototype: the look of notes a file gives none; remove
    // takes a note out (its window closed first). When the store changed, the caller saves and
    // then mirrors, which also keeps the state.
    Report Rescan(CNoteStore& store, const CNote& prototype, int64_t now, const Remover& remove);

    // What of a note travels in its file, for telling whether it changed.
    static uint64_t NoteHash(const CNote& note, const std::vector<std::string>& categoryPath);
    // A note's alarm in seconds since 1970 (0 for none).
    static int64_t AlarmSeconds(const CNote& note);
    // Puts a file of a new name into folder, whole or not at all, and never over another file.
    // False with a reason.
    static bool WriteNewFile(const std::string& folder, const std::string& name,
                             const std::string& bytes, std::string* reason);
    // Files a sync tool left for a conflict: "x.sync-conflict-*" and "x (conflicted copy *)".
    static bool IsConflictFile(const std::string& name);
    // The file name a new note gets.
    static std::string FileNameFor(const std::string& uid);

    // At most this many bytes are read of one file; larger ones are listed as unreadable.
    static constexpr size_t kMaxFileBytes = size_t{4} << 20;
    // A rescan that would remove this many notes and more than half of those the folder had
    // removes none.
    static constexpr int kMassRemoval = 3;
    static constexpr const char* kConflictTitle = "Conflict copy: ";

private:
    bool KeepState(std::string* reason);

    std::string m_folder, m_dataPath;
    CSyncState::Entries m_state;
    // A rescan changed the notes and no save has mirrored them yet: until one has, the state
    // must not be kept, or a crash would lose what the rescan took in.
    bool m_unsaved = false;
};
