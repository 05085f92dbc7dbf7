#pragma once

#include <span>

class CNote;

// The two changes the note list makes to the selected notes itself.
class CNoteListEdit {
public:
    static constexpr int kNoCategory = 141; // the category tree's "no drop target"

    // Moves each note's start one hour later or earlier and recomputes its times.
    static void ShiftByHour(std::span<CNote* const> notes, bool later);

    // Files the notes in the target category. Returns false when nothing changes (no target,
    // or the category already shown); needsRefresh tells whether they leave the list (a
    // category is being shown).
    static bool FileInCategory(std::span<CNote* const> notes, int target, int shownCategory,
                               bool& needsRefresh);
};
