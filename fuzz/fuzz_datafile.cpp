// Feeds arbitrary bytes to the data-file reader: it must never crash, hang or allocate wildly.
#include "core/model/CDataDocument.h"
#include "core/storage/CDataFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDataDocument doc;
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    std::string error;
    CDataFile::Read(doc, data, size, &error);
    // Whatever was read must save again.
    std::string bytes = CDataFile::Write(doc, COleDateTime(2003, 5, 13, 9, 30, 0));
    return bytes.empty() ? 1 : 0;
}
