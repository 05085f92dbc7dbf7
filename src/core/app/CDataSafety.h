#pragma once

#include "core/platform/COleDateTime.h"
#include "core/storage/CBackupKeeper.h"

#include <memory>
#include <string>

struct CDataDocument;
class IDialogs;

// Decides before each save whether "Note.Dat" may be replaced: a file that could not be read
// is first moved aside under a dated name (and never replaced while that fails), a read-only
// file is left alone, and the day's backup is taken. Each refusal is told to the user once.
class CDataSafety {
public:
    CDataSafety();
    ~CDataSafety();

    // After a load: the file exists but was not read completely (permissions, damage, a cut),
    // or newer: a later version wrote more than this one understands.
    void SetUnreadable(bool unreadable, bool newer = false) {
        m_unreadable = unreadable;
        m_newer = unreadable && newer;
    }
    bool Unreadable() const { return m_unreadable; }

    // True when the save may go ahead. dialogs may be null (nothing is told then). backupKeep:
    // the daily copies kept, which the options may change while the program runs.
    bool BeforeSave(const std::string& path, const COleDateTime& now, IDialogs* dialogs,
                    int backupKeep);
    // Why the last BeforeSave refused.
    const std::string& RefusalReason() const { return m_refusal; }
    // The name the unreadable original was moved to, once it was.
    const std::string& MovedAsideTo() const { return m_movedTo; }
    // The save after BeforeSave wrote: what is only true once it did is told now.
    void AfterSave(IDialogs* dialogs);

    // Reads bytes as a data file into a scratch document: false with the reason when any part
    // of it is broken.
    static bool Parses(const std::string& bytes, std::string* reason);
    static bool Parses(const std::string& bytes, CDataDocument& doc, std::string* reason);

private:
    bool MoveAside(const std::string& path, const COleDateTime& now, IDialogs* dialogs);

    bool m_unreadable = false, m_newer = false;
    std::string m_refusal;
    std::string m_backupFailure; // told after the save that went ahead without the backup
    bool m_toldReadOnly = false, m_toldStuck = false, m_toldBackup = false;
    std::string m_movedTo;
    std::string m_backupPath;
    int m_backupKeep = 0;
    std::unique_ptr<CBackupKeeper> m_backups;
};
