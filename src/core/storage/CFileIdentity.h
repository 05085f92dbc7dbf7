#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Which file a path named when it was last read or written: device, inode, size, modification
// time (nanoseconds) and a hash of the bytes. A sync tool or a restore that puts another file
// in its place changes at least one of them.
struct CFileIdentity {
    bool exists = false;
    uint64_t device = 0, inode = 0, size = 0;
    int64_t mtimeNs = 0;
    uint64_t hash = 0;

    // The file at path (links followed) as it is now, its hash taken from bytes, which the
    // caller just read from it or wrote to it.
    static CFileIdentity Of(const std::string& path, std::string_view bytes);
    static uint64_t Hash(std::string_view bytes);

    // True when path still holds this file. Only when the cheap fields differ is the file read
    // and hashed: a file touched or copied back unchanged is the same.
    bool Matches(const std::string& path) const;
};
