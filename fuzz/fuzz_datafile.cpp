// Feeds arbitrary bytes to the data-file reader: it must never crash, hang or allocate wildly.
#include "app/CTrayCore.h"
#include "storage/CDataFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTrayCore tray;
    tray.m_categories.push_back(CTreeNode::MakeRoot());
    std::string error;
    CDataFile::Read(tray, data, size, &error);
    // Whatever was read must save again.
    std::string bytes = CDataFile::Write(tray, COleDateTime(2003, 5, 13, 9, 30, 0));
    return bytes.empty() ? 1 : 0;
}
