#pragma once

#include <string>
#include <string_view>
#include <vector>

class CNote;

// The find field of the manager: a note matches when every typed word occurs in its title or
// its text. Case does not count (for Latin, Greek and Cyrillic letters); accents do, so "cafe"
// does not find "café".
class CNoteFind {
public:
    CNoteFind() = default;
    explicit CNoteFind(std::string_view typed);

    bool Empty() const { return m_words.empty(); }
    bool Matches(const CNote& note) const;
    // Whether every note this find matches was matched by the previous one (as when a word is
    // typed on), so that only the notes found before need a look.
    bool Narrows(const CNoteFind& previous) const;

    // UTF-8 text with its capitals made small.
    static std::string Fold(std::string_view text);

private:
    std::vector<std::string> m_words;
};
