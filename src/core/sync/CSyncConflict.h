#pragma once

#include <cstdint>
#include <string>

// Settles a note changed on both sides of a CalDAV sync without losing either version. A sync
// tool (vdirsyncer's "command" conflict resolution) hands over two temporary files: the version
// in the sync folder and the other one, and takes whatever both files say afterwards for both
// sides. The folder's version goes on; the other is put into the folder as a conflict file,
// which the next rescan turns into a conflict copy that syncs like any note.
class CSyncConflict {
public:
    // now: seconds since 1970, for the conflict file's name. False with a message when the
    // other version could not be kept; the two files are then left as they were.
    static bool Resolve(const std::string& folder, const std::string& oursPath,
                        const std::string& theirsPath, int64_t now, std::string* message);
};
