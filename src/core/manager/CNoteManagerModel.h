#pragma once

#include "core/manager/CNoteSort.h"

#include <memory>
#include <vector>

class CNote;
class IManagerHost;

// What the manager window does to the notes, on the hub's store: new notes with the default
// scheme, add, update, delete and post, and the sorts. It keeps a view of the store's notes in
// the store's order for the note list.
class CNoteManagerModel {
public:
    explicit CNoteManagerModel(IManagerHost& host);

    // The store's notes in its order; valid until the store changes other than through here.
    std::vector<CNote*>& View() { return m_view; }
    void SyncView();
    // Sorts the store itself (the list follows it).
    void Sort(CNoteSort::Key key, bool ascending);

    // A note with the default scheme's look, in the given category, not yet stored.
    std::unique_ptr<CNote> NewNote(int category) const;
    // Stores a note the editor has filled; its alarm is offered to the hub.
    CNote& Add(std::unique_ptr<CNote> note);
    // After the editor changed a note: its alarm is offered, its window shows the new texts.
    void Updated(CNote& note);

    struct Deleted {
        int deleted = 0;
        int refused = 0; // notes left because their window rings
    };
    // Removes the notes for good (their windows close first). A note whose window is ringing
    // is left alone: it is the ringing window's to end, and freeing it would pull the note
    // from under it.
    Deleted Delete(const std::vector<CNote*>& notes);

    // Opens each note's window at its post point, or moves a window already on the desktop
    // there (its old rectangle is kept in the note).
    void Post(const std::vector<CNote*>& notes, int x, int y, int screenWidth, int screenHeight);

private:
    IManagerHost& m_host;
    std::vector<CNote*> m_view;
};
