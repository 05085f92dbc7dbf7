#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Replaces a file as a whole: the new bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the target, and the folder is synced. A crash or a full disk
// at any moment leaves either the old file or the new one, never a mix.
class CAtomicFile {
public:
    // Returns false with a readable reason; the target is then untouched. A target reached
    // through symbolic links is replaced where it lies and the links stay links. A target the
    // user may not write to is never replaced (see IsReadOnly).
    static bool Write(const std::string& path, const std::string& bytes, std::string* reason,
                      int mode = 0600);
    static bool ReadAll(const std::string& path, std::string& bytes, std::string* reason);
    static bool Exists(const std::string& path);

    // The file the path names once every symbolic link on its last component is followed
    // (the path itself when it is no link). False with a reason for a loop of links.
    static bool ResolveLinks(const std::string& path, std::string& target, std::string* reason);

    // An existing file the user may not change: no write access, or no owner-write bit at all.
    // The second test also holds for root, whom access() lets write anything; a file without
    // the owner-write bit was made read-only on purpose.
    static bool IsReadOnly(const std::string& path);
    // The file's folder lies on a file system mounted read-only.
    static bool OnReadOnlyFileSystem(const std::string& path);
    // The reason Write gives for such a file.
    static const char* ReadOnlyReason();

    // Removes the temporary files that interrupted writes of path left behind (beside the link
    // and beside its target). Only names Write itself makes are touched, and none that a live
    // write still holds locked. Returns how many were removed.
    static int RemoveStaleTemps(const std::string& path);
    // The same in folder for every file whose name isOurs accepts.
    static int RemoveStaleTempsIn(const std::string& folder,
                                  const std::function<bool(const std::string& name)>& isOurs);

    // Test seam: the next writes fail with "No space left on device" once this many bytes
    // were written (SIZE_MAX = never).
    static size_t s_failAfterBytes;
};
