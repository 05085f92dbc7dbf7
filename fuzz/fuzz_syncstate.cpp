// Feeds arbitrary bytes to the sync state reader: it must never crash, and what it read must
// be written and read again as the same entries.
#include "core/sync/CSyncState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CSyncState::Entries first = CSyncState::Parse(bytes, "/sync");
    const CSyncState::Entries again =
        CSyncState::Parse(CSyncState::Format(first, "/sync"), "/sync");
    if (again.size() != first.size()) std::abort();
    for (const auto& [uid, e] : first) {
        auto it = again.find(uid);
        if (it == again.end() || it->second.name != e.name || it->second.fileHash != e.fileHash ||
            it->second.noteHash != e.noteHash || it->second.stamp != e.stamp ||
            it->second.acknowledged != e.acknowledged)
            std::abort();
    }
    return 0;
}
