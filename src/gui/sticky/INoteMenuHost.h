#pragma once

class CNote;
class CSettings;
class IDialogs;
class QWidget;

// What a note's menu may do with the window it belongs to. The window never knows its menu: the
// menu is attached from above when the window opens (CStickyNoteFactory's hook).
class INoteMenuHost {
public:
    // The window every box of a menu command belongs to; also the menu's lifetime.
    virtual QWidget& MenuWindow() = 0;
    virtual CNote* Note() const = 0;
    virtual bool IsBusy() const = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual bool IsRinging() const = 0;
    virtual bool IsRolledUp() const = 0;
    virtual void Layout() = 0;
    virtual void RollUp() = 0;
    virtual void UpdateCountdown() = 0;
    // Gives the note default scheme i unless it has it already.
    virtual void ApplyScheme(int i) = 0;
    // The note's colours or font were chosen by hand: no scheme matches any more.
    virtual void ForgetScheme() = 0;
    // Shows the note's current colours, font and border style and saves soon after.
    virtual void RefreshLook() = 0;
    // Removes the note for good after a short shrinking, and writes the data file.
    virtual void DeleteNote() = 0;

    virtual const CSettings& Settings() const = 0;
    virtual IDialogs& Dialogs() const = 0;
    virtual bool ManagerOpen() const = 0;
    virtual void NoteChanged() = 0;
    virtual void TimeChanged(const CNote& note) = 0;

protected:
    ~INoteMenuHost() = default;
};
