#pragma once

#include "core/platform/Win32Types.h"

// What the core needs from a note's window on the desktop. The window never owns its note.
class INoteWindow {
public:
    virtual ~INoteWindow() = default;

    virtual bool IsRinging() const = 0;
    // While it rings: whether the note was posted before (a note that rang from the Note
    // Manager's list goes back there once answered, and is saved so).
    virtual bool PostedBeforeRinging() const { return true; }
    // Its note menu, font dialog or time-setting dialog is open.
    virtual bool IsBusy() const = 0;
    // Starts ringing; index is the note's position in the note array.
    virtual void StartAlarm(int index, bool wasPosted) = 0;

    virtual RECT GetWindowRect() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void BringToTop() = 0;
    virtual void UpdateCountdown() = 0;
    // Shows the note's title and text again after they were edited elsewhere.
    virtual void ReloadTexts() = 0;
    // Moves the window, size unchanged, and shows it normally (not rolled up or minimised).
    virtual void MoveTo(int left, int top) = 0;
    // Destroys the window; afterwards the note has no window.
    virtual void Destroy() = 0;
};
