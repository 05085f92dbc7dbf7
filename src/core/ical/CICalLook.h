#pragma once

#include "core/model/CNote.h"

#include <libical/ical.h>

// What only Jotterly knows of a note's look (colours, font, border, window place, countdown
// and the spare fields) in X-JOTTERLY-* properties, so a file written here reads back into
// the same notes.
class CICalLook {
public:
    static void WriteLook(icalcomponent* comp, const CNote& n);
    // Each property is taken only when it is whole and sound; a damaged one leaves the
    // prototype's values.
    static void ReadLook(icalcomponent* comp, CNote& n);
};
