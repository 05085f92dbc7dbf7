#pragma once

#include <functional>
#include <string>

class CSideSettings;
class IAlarmHost;

// What a note window needs from the program that owns its note, beyond what its ringing needs.
class IStickyHost {
public:
    virtual ~IStickyHost() = default;

    // The notes, the settings and the run state, as the note's ringing sees them too.
    virtual IAlarmHost& AlarmHost() = 0;
    // The note's text, title, position or state changed: saved soon after.
    virtual void NoteChanged() = 0;
    // Whether the closed-note hint was shown is kept beside the data file.
    virtual const CSideSettings& Side() const = 0;
    virtual bool ChangeSide(const std::function<void(CSideSettings&)>& change,
                            std::string* reason) = 0;
};
