#pragma once

#include <cstddef>
#include <string>

// Replaces a file as a whole: the new bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the target, and the folder is synced. A crash or a full disk
// at any moment leaves either the old file or the new one, never a mix.
class CAtomicFile {
public:
    // Returns false with a readable reason; the target is then untouched.
    static bool Write(const std::string& path, const std::string& bytes, std::string* reason,
                      int mode = 0600);
    static bool ReadAll(const std::string& path, std::string& bytes, std::string* reason);
    static bool Exists(const std::string& path);

    // Test seam: the next writes fail with "No space left on device" once this many bytes
    // were written (SIZE_MAX = never).
    static size_t s_failAfterBytes;
};
