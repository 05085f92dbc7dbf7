#include "core/sync/CSyncSession.h"

#include "core/alarms/CAlarmCheck.h"
#include "core/ical/CICalMapping.h"
#include "core/model/CSettings.h"
#include "core/model/TrayState.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/PlatformServices.h"
#include "core/storage/CSideSettings.h"
#include "core/sync/ISyncHost.h"

#include <algorithm>

namespace {

constexpr size_t kListedFiles = 10;

} // namespace

CSyncSession::CSyncSession(ISyncHost& host, std::string dataPath)
    : m_host(host), m_dataPath(std::move(dataPath)) {}

void CSyncSession::ReadConfig() {
    const CSideSettings& side = m_host.Side();
    m_command = side.syncCommand;
    const std::string& folder = side.syncFolder;
    if (folder.empty()) {
        m_folder.reset();
        return;
    }
    if (m_folder && m_folder->Folder() == folder) return;
    m_folder = std::make_unique<CSyncFolder>(folder, m_dataPath);
    m_folder->Open();
}

void CSyncSession::Tell(const std::string& text) {
    if (std::find(m_told.begin(), m_told.end(), text) != m_told.end()) return;
    m_told.push_back(text);
    if (IDialogs* dialogs = m_host.Platform().dialogs)
        dialogs->MessageBox(text, kCaption, IDialogs::Ok, IDialogs::Warning);
}

void CSyncSession::NotesSaved() {
    ReadConfig();
    if (!m_folder) return;
    std::string why;
    if (!m_folder->Mirror(m_host.Store(), CICalMapping::UtcSeconds(Clock::Now()), &why))
        Tell(why + "\n\nYour notes are saved; the folder gets them once it can be written.");
    else
        m_told.clear();
}

bool CSyncSession::MayRescan() const {
    const int state = m_host.State();
    return state == StateIdle || state == StateRinging;
}

CSyncFolder::Report CSyncSession::Rescan() {
    ReadConfig();
    if (!m_folder || !MayRescan()) return {};
    CNoteStore& store = m_host.Store();
    CSyncFolder::Report report =
        m_folder->Rescan(store, m_host.settings().NewNote(), CICalMapping::UtcSeconds(Clock::Now()),
                         [&](CNote& note) { store.RemoveNote(note); });
    INoteWindowFactory* windows = m_host.Platform().windows;
    for (CNote* note : report.acknowledged) {
        if (!note->Window() || !note->Window()->IsRinging()) continue;
        const bool posted = note->Window()->PostedBeforeRinging();
        note->CloseWindow();
        note->m_posted = posted ? 1 : 0;
        if (posted && windows) note->OpenWindow(-1, -1, false, *windows);
    }
    for (CNote* note : report.updated)
        if (note->Window()) note->Window()->ReloadTexts();
    if (!report.updated.empty() || report.added) {
        m_host.Alarms().RefreshDueFlags();
        m_host.Alarms().ComputeEarliestAlarm();
    }
    if (report.StoreChanged()) m_host.SaveData();
    if (!report.problem.empty()) Tell(report.problem);
    if (!report.unreadable.empty()) {
        std::string text = "These files in the sync folder could not be read and were left as "
                           "they are:\n";
        for (size_t i = 0; i < report.unreadable.size() && i < kListedFiles; ++i)
            text += "\n" + report.unreadable[i];
        if (report.unreadable.size() > kListedFiles)
            text +=
                "\n... and " + std::to_string(report.unreadable.size() - kListedFiles) + " more";
        Tell(text);
    }
    return report;
}
