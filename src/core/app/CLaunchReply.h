#pragma once

#include <string>

// What the running copy answers a launcher that handed it a word: nothing when the word is
// carried out now, else when it will be, so "jotterly quit" never reports an end that has not
// happened; a start without a word is told that Jotterly already runs.
class CLaunchReply {
public:
    static std::string For(const std::string& word, int state);
};
