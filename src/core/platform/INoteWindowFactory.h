#pragma once

class CNote;
class INoteWindow;

// Creates note windows. x, y of -1, -1 means "use the note's stored rectangle".
class INoteWindowFactory {
public:
    virtual ~INoteWindowFactory() = default;
    virtual INoteWindow* OpenNoteWindow(CNote& note, int x, int y, bool ringing) = 0;
};
