#pragma once

// The sync folder as the hub sees it: told after each save that wrote "Note.Dat", so the
// folder only ever holds what is also in the data file.
class ISyncService {
public:
    virtual ~ISyncService() = default;
    virtual void NotesSaved() = 0;
};
