// Writes a "Note.Dat" for end-to-end runs and measurements.
//   make_datafile OUT [--notes N] [--posted K] [--due-in SECONDS] [--title-bytes B]
//                     [--text-bytes B] [--log]
// Posted notes get distinct stored rectangles (cascaded); --due-in adds one One Time note
// titled "Due note" whose alarm falls that many seconds after now.
#include "app/CTrayCore.h"
#include "platform/Clock.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT [--notes N] [--posted K] [--due-in S]\n", argv[0]);
        return 2;
    }
    int notes = 0, posted = 0, titleBytes = 20, textBytes = 200;
    double dueIn = -1;
    bool log = false;
    for (int i = 2; i < argc; ++i) {
        auto next = [&] { return i + 1 < argc ? argv[++i] : "0"; };
        if (!std::strcmp(argv[i], "--notes"))
            notes = std::atoi(next());
        else if (!std::strcmp(argv[i], "--posted"))
            posted = std::atoi(next());
        else if (!std::strcmp(argv[i], "--due-in"))
            dueIn = std::atof(next());
        else if (!std::strcmp(argv[i], "--title-bytes"))
            titleBytes = std::atoi(next());
        else if (!std::strcmp(argv[i], "--text-bytes"))
            textBytes = std::atoi(next());
        else if (!std::strcmp(argv[i], "--log"))
            log = true;
    }
    CTrayCore tray;
    tray.m_categories.push_back(CTreeNode::MakeRoot());
    tray.m_logEnabled = log ? 1 : 0;
    tray.m_mailInterval = 0;
    for (int i = 0; i < notes; ++i) {
        auto* n = new CNote;
        int s = i % 4;
        n->m_font = tray.m_schemeFont[s];
        n->m_backColor = tray.m_schemeBack[s];
        n->m_textColor = tray.m_schemeText[s];
        n->m_borderStyle = tray.m_schemeBorder[s];
        std::string number = std::to_string(i + 1);
        n->m_title = ("Note " + number + std::string(titleBytes, ' ')).substr(0, titleBytes);
        n->m_text = ("Text of note " + number + std::string(textBytes, '.')).substr(0, textBytes);
        if (i < posted) {
            int left = 40 + (i * 230) % 780, top = 60 + (i / 4) * 24 % 500 + (i % 4) * 30;
            n->m_windowRect = RECT{left, top, left + 204, top + 153};
            n->m_firstRect = n->m_windowRect;
            n->m_rectKnown = 1;
            n->m_posted = 1;
        }
        tray.m_notes.push_back(n);
    }
    if (dueIn >= 0) {
        auto* n = new CNote;
        n->m_type = CNote::OneTime;
        n->m_title = "Due note";
        n->m_text = "Rings soon";
        n->m_font = tray.m_schemeFont[1];
        n->m_backColor = tray.m_schemeBack[1];
        n->m_textColor = tray.m_schemeText[1];
        n->m_startTime = Clock::Now() + COleDateTimeSpan(dueIn / 86400.0);
        n->Recompute();
        tray.m_notes.push_back(n);
    }
    std::string reason;
    if (!CAtomicFile::Write(argv[1], CDataFile::Write(tray, Clock::Now()), &reason)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], reason.c_str());
        return 1;
    }
    return 0;
}
