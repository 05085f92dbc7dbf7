#pragma once

#include "core/platform/COleDateTime.h"
#include "core/storage/CFileIdentity.h"

#include <cstdint>
#include <string>

class IDialogs;

// Keeps what another program put in place of "Note.Dat" (a sync tool, a restore, another
// computer) while this one ran. Before each save the file must still be the one last read or
// written; when it is not, an idle program without changes of its own reloads it, and otherwise
// the outside version is moved aside as "Note.Dat.conflict-<date>-<time>" before ours is saved.
class COutsideChange {
public:
    enum class Action {
        Save,   // go ahead
        Reload, // the outside version holds everything: read it instead of saving
        Refuse, // it changed and could not be kept aside: saving would overwrite it
    };

    // After a read or a write: path holds bytes now (nothing when it does not exist).
    void Remember(const std::string& path, const std::string& bytes);
    void Forget() { m_known = false; }

    // Before bytes are saved over path. mayReload: nothing holds the notes in use just now.
    Action BeforeSave(const std::string& path, const std::string& bytes, bool mayReload,
                      const COleDateTime& now, IDialogs* dialogs);

    // The last conflict copy made ("" if none).
    const std::string& ConflictCopy() const { return m_aside; }
    static bool IsConflictCopy(const std::string& path);

private:
    // A hash of what the bytes hold apart from the moment of the save.
    static uint64_t Content(const std::string& bytes);

    bool m_known = false;
    CFileIdentity m_file;
    uint64_t m_content = 0;
    std::string m_aside;
    bool m_toldStuck = false;
};
