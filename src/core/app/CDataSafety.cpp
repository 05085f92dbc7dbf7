#include "core/app/CDataSafety.h"

#include "core/model/CDataDocument.h"
#include "core/model/CTreeNode.h"
#include "core/platform/IDialogs.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

CDataSafety::CDataSafety() = default;
CDataSafety::~CDataSafety() = default;

bool CDataSafety::Parses(const std::string& bytes, CDataDocument& doc, std::string* reason) {
    doc.m_store.Clear();
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    return CDataFile::Read(doc, bytes.data(), bytes.size(), reason);
}

bool CDataSafety::Parses(const std::string& bytes, std::string* reason) {
    CDataDocument scratch;
    return Parses(bytes, scratch, reason);
}

bool CDataSafety::BeforeSave(const std::string& path, const COleDateTime& now, IDialogs* dialogs,
                             int backupKeep) {
    if (m_unreadable && CAtomicFile::Exists(path) && !MoveAside(path, now, dialogs)) return false;
    m_unreadable = m_newer = false;
    if (CAtomicFile::IsReadOnly(path)) {
        // Making the file writable cannot help on a file system mounted read-only.
        const bool fileSystem = CAtomicFile::OnReadOnlyFileSystem(path);
        m_refusal = fileSystem ? "It lies on a file system that is mounted read-only."
                               : CAtomicFile::ReadOnlyReason();
        if (!m_toldReadOnly && dialogs)
            dialogs->MessageBox(
                "\"" + path +
                    (fileSystem ? "\" lies on a file system that is mounted read-only: your "
                                  "changes cannot be saved there.\n\nAt Exit you can save a "
                                  "copy of your notes elsewhere."
                                : "\" is read-only: your changes cannot be saved there.\n\n"
                                  "Allow writing to the file to save them again, or save a "
                                  "copy elsewhere at Exit."),
                "Sorry", IDialogs::Ok, IDialogs::Warning);
        m_toldReadOnly = true;
        return false;
    }
    m_toldReadOnly = false; // writable again: a later change of mind is told anew
    if (!m_backups || m_backupPath != path || m_backupKeep != backupKeep) {
        m_backupPath = path;
        m_backupKeep = backupKeep;
        m_backups = std::make_unique<CBackupKeeper>(
            path, [](const std::string& bytes) { return Parses(bytes, nullptr); }, backupKeep);
    }
    std::string reason;
    m_backupFailure.clear();
    if (!m_backups->BeforeSave(now, &reason) && !m_toldBackup)
        m_backupFailure = "Today's backup of your notes could not be made in \"" +
                          m_backups->Folder() + "\":\n" + reason +
                          "\n\nYour notes are saved all the same.";
    return true;
}

void CDataSafety::AfterSave(IDialogs* dialogs) {
    if (m_backupFailure.empty()) return;
    m_toldBackup = true;
    if (dialogs) dialogs->MessageBox(m_backupFailure, "Sorry", IDialogs::Ok, IDialogs::Warning);
    m_backupFailure.clear();
}

bool CDataSafety::MoveAside(const std::string& path, const COleDateTime& now, IDialogs* dialogs) {
    // Through a link the file itself moves, beside its target, so the link keeps working.
    std::string target, reason;
    if (!CAtomicFile::ResolveLinks(path, target, &reason)) target = path;
    const std::string stem = target + ".unreadable-" + now.Format("%Y%m%d-%H%M%S");
    std::string aside = stem;
    for (int i = 2; CAtomicFile::Exists(aside) && i < 1000; ++i) // never replace an older one
        aside = stem + "-" + std::to_string(i);
    const bool taken = CAtomicFile::Exists(aside);
    const int err = taken ? 0 : (std::rename(target.c_str(), aside.c_str()) == 0 ? 0 : errno);
    if (!taken && err == 0) {
        m_movedTo = aside;
        if (dialogs)
            dialogs->MessageBox("\"" + path +
                                    (m_newer ? "\" was written by a newer version of Jotterly, "
                                               "so it is not saved over.\n"
                                             : "\" could not be read completely, so it is not "
                                               "saved over.\n") +
                                    "The original file was kept as \"" + aside +
                                    "\"; your notes are now saved to a new file.",
                                "Jotterly", IDialogs::Ok, IDialogs::Information);
        return true;
    }
    reason = taken ? "too many earlier copies" : std::strerror(err);
    m_refusal = "It could not be read completely, and it could not be moved aside: " + reason;
    if (!m_toldStuck && dialogs)
        dialogs->MessageBox("\"" + path +
                                "\" could not be read completely, and it could not be moved "
                                "aside to keep it:\n" +
                                reason +
                                "\n\nSo it is not saved over, and your changes cannot be saved "
                                "until the file can be moved or read.",
                            "It's too bad", IDialogs::Ok, IDialogs::Stop);
    m_toldStuck = true;
    return false;
}
