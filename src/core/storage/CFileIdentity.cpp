#include "core/storage/CFileIdentity.h"

#include "core/storage/CAtomicFile.h"

#include <functional>
#include <sys/stat.h>

namespace {

bool StatOf(const std::string& path, CFileIdentity& id) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = static_cast<uint64_t>(st.st_size);
    id.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

} // namespace

uint64_t CFileIdentity::Hash(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes); // only compared within one run
}

CFileIdentity CFileIdentity::Of(const std::string& path, std::string_view bytes) {
    CFileIdentity id;
    if (StatOf(path, id)) id.hash = Hash(bytes);
    return id;
}

bool CFileIdentity::Matches(const std::string& path) const {
    CFileIdentity now;
    if (!StatOf(path, now)) return !exists;
    if (!exists) return false;
    if (now.device == device && now.inode == inode && now.size == size && now.mtimeNs == mtimeNs)
        return true;
    std::string bytes;
    return now.size == size && CAtomicFile::ReadAll(path, bytes, nullptr) && Hash(bytes) == hash;
}
