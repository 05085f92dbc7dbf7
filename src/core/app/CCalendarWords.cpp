#include "core/app/CCalendarWords.h"

#include "core/app/CDataSafety.h"
#include "core/app/CTrayCore.h"
#include "core/ical/CCalendarFile.h"
#include "core/ical/CNoteIdentity.h"
#include "core/model/CDataDocument.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "core/storage/CSideSettings.h"

#include <ctime>
#include <vector>

namespace {

std::vector<const CNote*> AllNotes(const CNoteStore& store) {
    std::vector<const CNote*> notes;
    for (const auto& n : store.notes())
        notes.push_back(n.get());
    return notes;
}

} // namespace

bool CCalendarWords::ExportNotes(const std::vector<const CNote*>& notes, const CNoteStore& store,
                                 const CNoteIdentity* identity, const std::string& file,
                                 std::string& message) {
    std::string reason;
    if (!CCalendarFile::Export(notes, store, identity, file, std::time(nullptr), &reason)) {
        message = "The calendar file \"" + file + "\" could not be written: " + reason;
        return false;
    }
    message = std::to_string(notes.size()) + (notes.size() == 1 ? " note" : " notes") +
              " written to " + file;
    return true;
}

bool CCalendarWords::ImportInto(CNoteStore& store, const CSettings& settings,
                                const std::string& file, std::string& message) {
    std::string reason;
    if (!CCalendarFile::Import(file, store, settings.NewNote(), &message, &reason)) {
        message = "The calendar file \"" + file + "\" could not be imported: " + reason;
        return false;
    }
    return true;
}

bool CCalendarWords::Run(CTrayCore& hub, const std::string& word, const std::string& file,
                         std::string& message) {
    if (word == kExport)
        return ExportNotes(AllNotes(hub.Store()), hub.Store(), &hub.Identity(), file, message);
    if (!ImportInto(hub.Store(), hub.settings(), file, message)) return false;
    hub.Alarms().RefreshDueFlags();
    hub.Alarms().ComputeEarliestAlarm();
    hub.SaveData();
    return true;
}

bool CCalendarWords::RunOnDataFile(const std::string& word, const std::string& file,
                                   const std::string& dataPath, std::string& message) {
    CDataDocument doc;
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    std::string bytes, reason;
    const bool exists = CAtomicFile::Exists(dataPath);
    if (exists && (!CAtomicFile::ReadAll(dataPath, bytes, &reason) ||
                   !CDataFile::Read(doc, bytes.data(), bytes.size(), &reason))) {
        message = "\"" + dataPath + "\" could not be read completely (" + reason +
                  "); nothing was changed.";
        return false;
    }
    const int64_t now = std::time(nullptr);
    CNoteIdentity identity;
    identity.AfterLoad(dataPath, bytes, doc.m_store.notes(), now);
    if (word == kExport)
        return ExportNotes(AllNotes(doc.m_store), doc.m_store, &identity, file, message);
    if (!ImportInto(doc.m_store, doc.m_settings, file, message)) return false;
    const COleDateTime saveTime = Clock::Now();
    if (!exists) doc.m_firstRunDate = saveTime;
    const std::string out = CDataFile::Write(doc, saveTime);
    CDataSafety safety;
    // No running copy holds the side settings: this run reads them for itself.
    const int keep =
        CSideSettings::Load(dataPath.substr(0, dataPath.find_last_of('/') + 1)).backupKeep;
    if (!safety.BeforeSave(dataPath, saveTime, nullptr, keep) ||
        !CAtomicFile::Write(dataPath, out, &reason)) {
        message = "Your notes could not be saved to \"" + dataPath + "\"" +
                  (reason.empty() ? std::string() : ": " + reason) + "; nothing was imported.";
        return false;
    }
    std::string idsReason;
    identity.AfterSave(dataPath, out, doc.m_store.notes(), now, &idsReason);
    return true;
}
