#pragma once

#include "core/sync/CSyncFolder.h"

#include <memory>
#include <string>
#include <vector>

class ISyncHost;

// The sync folder in the running program: which folder and command the side file names, the
// mirror after each save, and a rescan whose changes reach the open note windows (a note
// acknowledged elsewhere stops ringing here) and are saved. Problems are told once each.
class CSyncSession {
public:
    // dataPath: "Note.Dat", whose folder's mirror state the sync folder keeps beside it.
    CSyncSession(ISyncHost& host, std::string dataPath);

    // Takes sync_folder and sync_command from the host's side settings; a folder that changed
    // starts afresh.
    void ReadConfig();
    bool Active() const { return m_folder != nullptr; }
    const std::string& Command() const { return m_command; }
    const std::string& FolderPath() const { return m_folder->Folder(); } // when Active()

    void NotesSaved();
    // Takes in what other machines changed; nothing while the notes are being edited in the
    // Note Manager or the options, or the program ends.
    CSyncFolder::Report Rescan();
    // Not while the notes are edited elsewhere in the program, nor at its end.
    bool MayRescan() const;

    static constexpr const char* kCaption = "Jotterly";

private:
    void Tell(const std::string& text);

    ISyncHost& m_host;
    std::string m_dataPath, m_command;
    std::unique_ptr<CSyncFolder> m_folder;
    std::vector<std::string> m_told; // what was told, not told again until it is gone
};
