// Writes and reads "Note.Dat" for the end-to-end scripts, through the program's own reader and
// writer, so the scripts never depend on the byte layout.
//
//   jotterly_notefile write FILE L,T,W,H[,SCHEME] ...   posted notes at these rectangles
//   jotterly_notefile dump FILE                          one line per note:
//                                                        posted left top width height title
#include "app/CTrayCore.h"
#include "model/CTreeNode.h"
#include "platform/Clock.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"

#include <cstdio>
#include <string>

namespace {
int Write(const char* path, int count, char** rects) {
    CTrayCore tray;
    tray.m_categories.push_back(CTreeNode::MakeRoot());
    for (int i = 0; i < count; ++i) {
        int l = 0, t = 0, w = 0, h = 0, scheme = i % 4;
        if (std::sscanf(rects[i], "%d,%d,%d,%d,%d", &l, &t, &w, &h, &scheme) < 4 || w <= 0 ||
            h <= 0 || scheme < 0 || scheme > 3) {
            std::fprintf(stderr, "bad rectangle '%s'\n", rects[i]);
            return 2;
        }
        auto* n = new CNote;
        n->m_title = "Note " + std::to_string(i + 1);
        n->m_text = "Line one of note " + std::to_string(i + 1) + "\r\nLine two";
        n->m_font = tray.m_schemeFont[scheme];
        n->m_backColor = tray.m_schemeBack[scheme];
        n->m_textColor = tray.m_schemeText[scheme];
        n->m_borderStyle = tray.m_schemeBorder[scheme];
        n->m_windowRect = n->m_firstRect = RECT{l, t, l + w, t + h};
        n->m_rectKnown = 1;
        n->m_posted = 1;
        tray.m_notes.push_back(n);
    }
    std::string reason;
    if (!CAtomicFile::Write(path, CDataFile::Write(tray, Clock::Now()), &reason)) {
        std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
        return 1;
    }
    return 0;
}

int Dump(const char* path) {
    std::string bytes, reason;
    if (!CAtomicFile::ReadAll(path, bytes, &reason)) {
        std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
        return 1;
    }
    CTrayCore tray;
    tray.m_categories.push_back(CTreeNode::MakeRoot());
    if (!CDataFile::Read(tray, bytes.data(), bytes.size(), &reason)) {
        std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
        return 1;
    }
    for (const CNote* n : tray.m_notes) {
        const RECT& r = n->m_windowRect;
        std::printf("%d %d %d %d %d %s\n", n->m_posted, r.left, r.top, r.Width(), r.Height(),
                    n->m_title.c_str());
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 2 ? argv[1] : "";
    if (command == "write") return Write(argv[2], argc - 3, argv + 3);
    if (command == "dump" && argc == 3) return Dump(argv[2]);
    std::fprintf(stderr, "usage: %s write FILE L,T,W,H[,SCHEME]... | dump FILE\n", argv[0]);
    return 2;
}
