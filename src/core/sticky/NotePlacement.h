#pragma once

#include "core/platform/Win32Types.h"
#include "core/sticky/CNoteGeometry.h"

#include <vector>

class CNote;

// Where a note window opens. placeX of -1 means "no point given": a note that never had a
// window gets the middle fifth of the screen, a known one its stored rectangle. A point given
// (the manager posting at a drop point) centres the window horizontally on it, just below.
// desktop: the whole visible desktop; a stored rectangle entirely outside it (data from a
// larger display) is brought back onto it, or the note could never be seen again.
RECT PlaceNoteWindow(const CNote& note, int placeX, int placeY, int border, int screenWidth,
                     int screenHeight, const RECT& desktop);

// A window about to open at wanted whose top-left corner another window (taken) already has
// would hide it: it moves down and right by step until its corner is free, wrapping to the
// work area's top or left edge where it would leave the work area.
RECT OffsetFromTaken(const RECT& wanted, const std::vector<RECT>& taken, int step,
                     const RECT& workArea);

// New top-left corners for the other note windows, in note-array order, when the pin box of
// the window at clicked is Shift- (stack below), Alt- (to the right) or Ctrl-clicked (spread
// over the rest of the screen). Every moved window takes the clicked window's size.
std::vector<PixelPoint> ArrangeNotes(const RECT& clicked, int titleHeight, int otherWindows,
                                     int screenWidth, int screenHeight, bool shift, bool alt,
                                     bool ctrl);
