#pragma once

// What the ringing logic asks of the note window it rings in. The window does the pixels;
// CAlarmRinging decides when.
class IRingingWindow {
public:
    enum Field { HoursField, MinutesField };

    virtual ~IRingingWindow() = default;

    // Activate the window, hide the countdown line, show the "remind" row with its box
    // cleared, centre the window at its template size on top of all others, lay it out.
    virtual void EnterRingingMode() = 0;
    // One step of the flashing pin box.
    virtual void DrawPinBox(int state) = 0;
    // After a refused value: put the focus into the offending edit.
    virtual void FocusField(Field field) = 0;
    // Hide the "remind" row and go back to the note's place, size and z-order.
    virtual void LeaveRingingMode() = 0;
    // The note's desktop notice asks for OK: acknowledge exactly as the window's OK button.
    virtual void PressOk() = 0;
    // Destroy the window. The note may already be gone: the window must not touch it.
    virtual void CloseAfterRinging() = 0;
};
