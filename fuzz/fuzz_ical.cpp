// Feeds arbitrary bytes to the calendar-file importer: it must never crash, hang or allocate
// wildly, and what it made of them must export and import again as the same number of notes.
#include "core/ical/CICalMapping.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool zoned = [] {
        setenv("TZ", "UTC", 1); // no zone to describe: each run stays quick
        return true;
    }();
    (void)zoned;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CICalMapping::Imported first;
    std::string error;
    if (!CICalMapping::Import(bytes, CNote(), first, &error)) return 0;

    std::vector<CICalMapping::ExportItem> items;
    for (size_t i = 0; i < first.items.size(); ++i) {
        CICalMapping::ExportItem item;
        item.note = first.items[i].note.get();
        item.categoryPath = first.items[i].categoryPath;
        item.identity.uid = "fuzz-" + std::to_string(i);
        items.push_back(item);
    }
    CICalMapping::Imported again;
    if (!CICalMapping::Import(CICalMapping::Export(items, 1796644800, "UTC"), CNote(), again,
                              &error) ||
        again.items.size() != first.items.size())
        std::abort();
    return 0;
}
