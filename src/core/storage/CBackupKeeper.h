#pragma once

#include "core/platform/COleDateTime.h"

#include <functional>
#include <string>
#include <vector>

// Keeps a daily copy of the data file: before the first save of each day the file as it stands
// goes to "backups/Note-YYYY-MM-DD.Dat" beside it (mode 0600), and only the newest copies are
// kept. A file that is empty or does not pass the validity check is never copied, so a damaged
// file cannot push the good copies out.
class CBackupKeeper {
public:
    using Validator = std::function<bool(const std::string& bytes)>;

    CBackupKeeper(std::string dataPath, Validator isValid, int keep = 7);

    // Call before each save. Makes today's copy unless it exists already (so a restart on the
    // same day keeps the morning's copy). Returns false with a reason when a copy was due but
    // could not be made; the save itself may still go ahead. An empty or invalid file is not
    // copied and is no failure. The first call also removes copies a kill cut short.
    bool BeforeSave(const COleDateTime& now, std::string* reason);

    std::string Folder() const;
    // The backup names present, oldest first.
    std::vector<std::string> List() const;

private:
    void Prune() const;

    std::string m_dataPath;
    Validator m_isValid;
    int m_keep;
    std::string m_doneDay; // the day whose copy is known to exist
};
