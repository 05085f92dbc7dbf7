#pragma once

// What the program as a whole is doing; the windows and the alarm check consult it before
// they start anything of their own.
enum TrayState {
    StateRinging = 191,
    StateManagerOpen = 192,
    StateOptionsOpen = 193,
    StateIdle = 194,
    StateStarting = 195,
    StateExiting = 198,
    StateFileTransfer = 199,
};
