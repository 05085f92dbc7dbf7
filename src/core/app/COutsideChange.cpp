#include "core/app/COutsideChange.h"

#include "core/platform/IDialogs.h"
#include "core/storage/CAtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kConflictMark[] = ".conflict-";
// The second item of the file, the moment of the save (a time is 4 + 8 bytes).
constexpr size_t kSaveTimeAt = 12, kSaveTimeBytes = 12;

} // namespace

bool COutsideChange::IsConflictCopy(const std::string& path) {
    return path.find(kConflictMark, path.find_last_of('/') + 1) != std::string::npos;
}

uint64_t COutsideChange::Content(const std::string& bytes) {
    if (bytes.size() < kSaveTimeAt + kSaveTimeBytes) return CFileIdentity::Hash(bytes);
    std::string rest = bytes.substr(0, kSaveTimeAt);
    rest.append(bytes, kSaveTimeAt + kSaveTimeBytes);
    return CFileIdentity::Hash(rest);
}

void COutsideChange::Remember(const std::string& path, const std::string& bytes) {
    m_file = CFileIdentity::Of(path, bytes);
    m_content = Content(bytes);
    m_known = true;
    m_toldStuck = false;
}

COutsideChange::Action COutsideChange::BeforeSave(const std::string& path, const std::string& bytes,
                                                  bool mayReload, const COleDateTime& now,
                                                  IDialogs* dialogs) {
    if (!m_known || m_file.Matches(path) || !CAtomicFile::Exists(path)) return Action::Save;
    if (mayReload && m_file.exists && Content(bytes) == m_content) return Action::Reload;

    // Both sides changed: the outside version goes aside (beside the link's target, so a link
    // stays a link), and ours takes its place.
    std::string target;
    if (!CAtomicFile::ResolveLinks(path, target, nullptr)) target = path;
    const std::string stem = target + kConflictMark + now.Format("%Y%m%d-%H%M%S");
    std::string aside = stem;
    for (int i = 2; CAtomicFile::Exists(aside) && i < 1000; ++i)
        aside = stem + "-" + std::to_string(i);
    const int err = CAtomicFile::Exists(aside)                        ? EEXIST
                    : std::rename(target.c_str(), aside.c_str()) == 0 ? 0
                                                                      : errno;
    if (err == 0) {
        m_aside = aside;
        if (dialogs)
            dialogs->MessageBox(
                "\"" + path +
                    "\" was changed by another program while Jotterly ran, and you had changes "
                    "of your own.\n\nBoth are kept: your notes are saved, and the other version "
                    "was kept as \"" +
                    aside + "\".\nTo take notes from it, choose Data > Import and open that file.",
                "Jotterly", IDialogs::Ok, IDialogs::Information);
        return Action::Save;
    }
    if (!m_toldStuck && dialogs)
        dialogs->MessageBox("\"" + path +
                                "\" was changed by another program while Jotterly ran, and it "
                                "could not be moved aside to keep it:\n" +
                                std::strerror(err) +
                                "\n\nSo it is not saved over, and your changes are not saved "
                                "until it can be moved.",
                            "It's too bad", IDialogs::Ok, IDialogs::Stop);
    m_toldStuck = true;
    return Action::Refuse;
}
