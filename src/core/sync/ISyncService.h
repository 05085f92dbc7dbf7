#pragma once

// The sync folder as the hub sees it.
class ISyncService {
public:
    virtual ~ISyncService() = default;
    // After each save that wrote "Note.Dat": the folder only ever holds what the file holds.
    virtual void NotesSaved() = 0;
    // Takes in other machines' changes now (after a resume).
    virtual void Rescan() = 0;
    // A sync command is set: the tray menu offers "Sync Now", which runs it.
    virtual bool CanSyncNow() = 0;
    virtual void SyncNow() = 0;
};
