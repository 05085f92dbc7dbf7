#include "core/storage/CBackupKeeper.h"

#include "core/storage/CAtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kPrefix[] = "Note-";
constexpr char kSuffix[] = ".Dat";

// "Note-YYYY-MM-DD.Dat" and nothing else: other files in the folder are the user's.
bool IsBackupName(const std::string& name) {
    const std::string pattern = std::string(kPrefix) + "0000-00-00" + kSuffix;
    if (name.size() != pattern.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        bool digit = pattern[i] == '0';
        if (digit ? !std::isdigit(static_cast<unsigned char>(name[i])) : name[i] != pattern[i])
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

CBackupKeeper::CBackupKeeper(std::string dataPath, Validator isValid, int keep)
    : m_dataPath(std::move(dataPath)), m_isValid(std::move(isValid)), m_keep(std::max(keep, 1)) {}

std::string CBackupKeeper::Folder() const {
    return FolderOf(m_dataPath) + "/backups";
}

std::vector<std::string> CBackupKeeper::List() const {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(Folder().c_str())) {
        while (const dirent* e = ::readdir(dir))
            if (IsBackupName(e->d_name)) names.emplace_back(e->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end()); // the date in the name sorts them by age
    return names;
}

void CBackupKeeper::Prune() const {
    std::vector<std::string> names = List();
    for (size_t i = 0; i + m_keep < names.size(); ++i)
        ::unlink((Folder() + "/" + names[i]).c_str());
}

bool CBackupKeeper::BeforeSave(const COleDateTime& now, std::string* reason) {
    const std::string day = now.Format("%Y-%m-%d");
    if (day == m_doneDay) return true;
    const std::string folder = Folder();
    if (m_doneDay.empty()) // a copy cut short by a kill or a crash is no backup
        CAtomicFile::RemoveStaleTempsIn(folder, IsBackupName);
    const std::string copy = folder + "/" + kPrefix + day + kSuffix;
    if (CAtomicFile::Exists(copy)) {
        m_doneDay = day;
        return true;
    }
    if (!CAtomicFile::Exists(m_dataPath)) return true; // nothing saved yet
    std::string bytes;
    if (!CAtomicFile::ReadAll(m_dataPath, bytes, reason)) return false;
    // Nothing worth keeping: no copy today yet, so the next save (of good data) makes it.
    if (bytes.empty() || (m_isValid && !m_isValid(bytes))) return true;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    if (!CAtomicFile::Write(copy, bytes, reason, 0600)) return false;
    m_doneDay = day;
    Prune();
    return true;
}
