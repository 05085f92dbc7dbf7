#include "core/sync/CSyncConflict.h"

#include "core/storage/CAtomicFile.h"
#include "core/sync/CSyncFolder.h"

#include <cerrno>
#include <ctime>
#include <sys/stat.h>

namespace {

bool ReadVersion(const std::string& path, std::string& bytes, std::string* message) {
    struct stat st {};
    std::string why;
    if (::stat(path.c_str(), &st) == 0 && uint64_t(st.st_size) > CSyncFolder::kMaxFileBytes)
        why = "larger than " + std::to_string(CSyncFolder::kMaxFileBytes >> 20) + " MB";
    else if (CAtomicFile::ReadAll(path, bytes, &why) && bytes.size() <= CSyncFolder::kMaxFileBytes)
        return true;
    *message = "cannot read " + path + ": " + why;
    return false;
}

// "server.sync-conflict-20261207-193000-1": no ".ics", so that the sync tool does not take it
// for a second file of the same event before the rescan has made it a note of its own.
std::string ConflictName(int64_t now, int attempt) {
    const time_t t = time_t(now);
    struct tm parts {};
    gmtime_r(&t, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    return std::string("server.sync-conflict-") + stamp + "-" + std::to_string(attempt);
}

} // namespace

bool CSyncConflict::Resolve(const std::string& folder, const std::string& oursPath,
                            const std::string& theirsPath, int64_t now, std::string* message) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *message = "the sync folder " + folder + " is missing";
        return false;
    }
    std::string ours, theirs;
    if (!ReadVersion(oursPath, ours, message) || !ReadVersion(theirsPath, theirs, message))
        return false;
    if (ours == theirs) {
        *message = "both versions are the same";
        return true;
    }
    // The other version is kept first: should anything after fail, nothing was given up.
    std::string name, why;
    for (int attempt = 1;; ++attempt) {
        name = ConflictName(now, attempt);
        if (CSyncFolder::WriteNewFile(folder, name, theirs, &why)) break;
        if (errno != EEXIST || attempt == 100) {
            *message = "cannot write " + folder + "/" + name + ": " + why;
            return false;
        }
    }
    if (!CAtomicFile::Write(theirsPath, ours, &why)) {
        *message = "cannot write " + theirsPath + ": " + why;
        return false;
    }
    *message = "the other version is kept as " + folder + "/" + name;
    return true;
}
