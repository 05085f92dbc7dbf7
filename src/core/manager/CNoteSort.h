#pragma once

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

class CNote;

// The three orders of the note list. Each gives exactly the order of a selection sort (for
// every position the first smallest, or largest, of the rest is swapped in), so notes with
// equal keys end up where users have always seen them; but it runs in O(n log n), so a large
// note store sorts at once.
class CNoteSort {
public:
    enum Key { ByText, ByTime, ByType };

    // Sort direction per column: 0 descending, 1 ascending, inverted after each use. "Time"
    // and "Time Left" share one.
    struct Toggles {
        int text = 0, time = 0, type = 0;
        // The key of list column 0..3 and its direction; flips that column's toggle.
        Key Take(int column, bool& ascending);
    };
    // The toggles of the whole process: they outlive a closed manager window.
    static Toggles& SharedToggles();

    // Reorders any random-access range of notes held by pointer (CNote*, unique_ptr<CNote>).
    template <class Range> static void Sort(Range& notes, Key key, bool ascending) {
        std::vector<const CNote*> view;
        view.reserve(std::size(notes));
        for (const auto& n : notes)
            view.push_back(&*n);
        const std::vector<uint32_t> swaps = SwapTargets(Ranks(view, key), ascending);
        auto first = std::begin(notes);
        for (size_t i = 0; i < swaps.size(); ++i)
            if (swaps[i] != i) std::swap(first[i], first[swaps[i]]);
    }

    // The keys: title bytes up to the first zero (so 'Z' < 'a'); the alarm time, memos 36500
    // days later; type plus recurrence code.
    static int CompareText(const CNote& a, const CNote& b);
    static double TimeKey(const CNote& n);
    static int64_t TypeKey(const CNote& n);

    // Dense ranks of the notes' keys: equal keys share a rank, a smaller key has a smaller rank.
    static std::vector<int> Ranks(const std::vector<const CNote*>& notes, Key key);
    // For each position i in turn, the position whose element the selection sort swaps into i
    // (i itself when none): the first minimum (ascending) or maximum of ranks[i..].
    static std::vector<uint32_t> SwapTargets(std::vector<int> ranks, bool ascending);
};
