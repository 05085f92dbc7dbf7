#pragma once

#include <vector>

class CNote;
struct CSettings;
class IAlarmHost;
class IDialogs;
class IStickyHost;
class INoteWindow;

// What a note window reads of the hub and asks of it, in one place: the default schemes,
// the run state, the other notes' windows and the sound of the close box.
class CStickyHub {
public:
    explicit CStickyHub(IStickyHost& tray) : m_tray(tray) {}

    // The index 0..3 of the default scheme the note's colours and font match, or -1.
    int SchemeOf(const CNote& note) const;
    bool ManagerOpen() const;
    // The windows of all notes that have one, in note order.
    std::vector<INoteWindow*> NoteWindows() const;

    // The note's text, title, position or state changed: the hub saves soon after.
    void NoteChanged();

    IDialogs& Dialogs() const;
    const CSettings& Settings() const;
    // The note goes for good (its window is already gone) and the data file is written.
    void DeleteNote(CNote& note);
    // The time-setting dialog changed the note: its alarm is offered to the alarm check.
    void TimeChanged(const CNote& note);

    // The first memo ever closed tells where closed notes are kept (once; the side file
    // remembers it). The hint comes once the window is hidden.
    void HintClosedMemo();
    static constexpr const char* kClosedNoteHint =
        "Closed notes stay in the Note Manager; use Post to put one back.";
    // False without any sound device: a ring is then only seen.
    bool CanSound() const;
    void PlayCloseSound();
    void PlayDeleteSound();
    // Ends the close box's click; a ringing note's loop plays on.
    void StopCloseSound();

private:
    IAlarmHost& Host() const;

    IStickyHost& m_tray;
};
