#pragma once

#include "core/ical/CNoteIdentity.h"
#include "core/model/CNoteStore.h"

#include <cstdint>
#include <string>
#include <vector>

// The file commands on top of the mapping: notes written to a calendar file, a calendar file
// read into the store (its categories found by name or made).
class CCalendarFile {
public:
    // Writes the notes (with their identities, new ones given first) atomically to path.
    static bool Export(const std::vector<const CNote*>& notes, const CNoteStore& store,
                       const CNoteIdentity* identity, const std::string& path, int64_t now,
                       std::string* reason);

    // Reads path and adds its notes to the store. prototype: the look of notes the file gives
    // none. summary: the line that tells what came in. Nothing is added when the file cannot be
    // read or holds no calendar.
    static bool Import(const std::string& path, CNoteStore& store, const CNote& prototype,
                       std::string* summary, std::string* reason);

    static constexpr size_t kMaxFileBytes = size_t{64} << 20;

    // The names from the top category down to the note's category (empty for none or a
    // category that is gone).
    static std::vector<std::string> CategoryPath(const CNoteStore& store, int categoryId);
    // The id of the category at that path, made where missing (0 for an empty path).
    static int EnsureCategory(CNoteStore& store, const std::vector<std::string>& path);
};
