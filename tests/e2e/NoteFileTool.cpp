// Writes and reads "Note.Dat" for the end-to-end scripts, through the program's own reader and
// writer, so the scripts never depend on the byte layout.
//
//   jotterly_notefile write FILE L,T,W,H[,SCHEME]...  posted notes at these rectangles
//   jotterly_notefile many FILE N                       N memos (20-byte titles, 200-byte texts)
//   jotterly_notefile due FILE SECONDS [WAV ACCOUNT...]  a memo "Note 1" and a One Time note
//       "Due note" ringing that many seconds from now (with that wave file); logging on
//   jotterly_notefile weather FILE CITY COUNTRY         the weather report on for that place
//   jotterly_notefile mail FILE ACCOUNT...              mail accounts NAME,SERVER,USER,PASSWORD,
//                                                       no automatic check
//   jotterly_notefile dump FILE        one line per note: posted left top width height title
//   jotterly_notefile alarms FILE      one line per note: "YYYY-MM-DD HH:MM:SS" alarm, title
#include "core/model/CDataDocument.h"
#include "core/model/CTreeNode.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
int Save(const CDataDocument& doc, const char* path) {
    std::string reason;
    if (CAtomicFile::Write(path, CDataFile::Write(doc, Clock::Now()), &reason)) return 0;
    std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
    return 1;
}

CNote* AddNote(CDataDocument& doc, int scheme, const std::string& title, const std::string& text) {
    CNote* n = &doc.m_store.AddNote(std::make_unique<CNote>());
    n->m_title = title;
    n->m_text = text;
    n->m_font = doc.m_settings.m_schemeFont[scheme];
    n->m_backColor = doc.m_settings.m_schemeBack[scheme];
    n->m_textColor = doc.m_settings.m_schemeText[scheme];
    n->m_borderStyle = doc.m_settings.m_schemeBorder[scheme];
    return n;
}

int Write(CDataDocument& doc, const char* path, int count, char** rects) {
    for (int i = 0; i < count; ++i) {
        int l = 0, t = 0, w = 0, h = 0, scheme = i % 4;
        if (std::sscanf(rects[i], "%d,%d,%d,%d,%d", &l, &t, &w, &h, &scheme) < 4 || w <= 0 ||
            h <= 0 || scheme < 0 || scheme > 3) {
            std::fprintf(stderr, "bad rectangle '%s'\n", rects[i]);
            return 2;
        }
        const std::string number = std::to_string(i + 1);
        CNote* n =
            AddNote(doc, scheme, "Note " + number, "Line one of note " + number + "\r\nLine two");
        n->m_windowRect = n->m_firstRect = RECT{l, t, l + w, t + h};
        n->m_rectKnown = 1;
        n->m_posted = 1;
    }
    return Save(doc, path);
}

int Many(CDataDocument& doc, const char* path, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        AddNote(doc, i % 4, ("Note " + number + std::string(20, ' ')).substr(0, 20),
                ("Text of note " + number + std::string(200, '.')).substr(0, 200));
    }
    return Save(doc, path);
}

void AddDue(CDataDocument& doc, double seconds) {
    AddNote(doc, 0, "Note 1", "Stays after the other one is acknowledged");
    CNote* n = AddNote(doc, 1, "Due note", "Rings soon");
    n->m_type = CNote::OneTime;
    n->m_startTime = Clock::Now() + COleDateTimeSpan(seconds / 86400.0);
    n->Recompute();
    doc.m_settings.m_logEnabled = 1;
}

int Weather(CDataDocument& doc, const char* path, const char* city, const char* country) {
    CWeather& w = doc.m_settings.m_weather;
    doc.m_settings.m_weatherEnabled = 1;
    w.m_city = city;
    w.m_country = country;
    w.m_place = std::string(city) + " , " + country;
    return Save(doc, path);
}

void AddAccounts(CDataDocument& doc, int count, char** accounts) {
    for (int i = 0; i < count; ++i) {
        auto a = std::make_unique<CMailAccount>();
        std::string fields[4], rest = accounts[i];
        for (int f = 0; f < 4; ++f) {
            const std::size_t comma = f < 3 ? rest.find(',') : std::string::npos;
            fields[f] = rest.substr(0, comma);
            rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        }
        a->m_name = fields[0], a->m_server = fields[1], a->m_userName = fields[2];
        a->m_password = fields[3];
        doc.m_store.AddAccount(std::move(a));
    }
}

int Dump(const char* path, bool alarms) {
    std::string bytes, reason;
    if (!CAtomicFile::ReadAll(path, bytes, &reason)) {
        std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
        return 1;
    }
    CDataDocument doc;
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    if (!CDataFile::Read(doc, bytes.data(), bytes.size(), &reason)) {
        std::fprintf(stderr, "%s: %s\n", path, reason.c_str());
        return 1;
    }
    for (const auto& n : doc.m_store.notes()) {
        if (alarms) {
            std::printf("%s %s\n", n->m_alarmTime.Format("%Y-%m-%d %H:%M:%S").c_str(),
                        n->m_title.c_str());
            continue;
        }
        const RECT& r = n->m_windowRect;
        std::printf("%d %d %d %d %d %s\n", n->m_posted, r.left, r.top, r.Width(), r.Height(),
                    n->m_title.c_str());
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 2 ? argv[1] : "";
    CDataDocument doc;
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    doc.m_settings.m_mailInterval = 0;
    if (command == "write") return Write(doc, argv[2], argc - 3, argv + 3);
    if (command == "many" && argc == 4) return Many(doc, argv[2], std::atoi(argv[3]));
    if (command == "due" && argc >= 4) {
        AddDue(doc, std::atof(argv[3]));
        if (argc >= 5) {
            doc.m_settings.m_alarmSound = CSettings::SoundWave;
            doc.m_settings.m_wavePath = argv[4];
            AddAccounts(doc, argc - 5, argv + 5);
        }
        return Save(doc, argv[2]);
    }
    if (command == "weather" && argc == 5) return Weather(doc, argv[2], argv[3], argv[4]);
    if (command == "mail" && argc >= 3) {
        AddAccounts(doc, argc - 3, argv + 3);
        return Save(doc, argv[2]);
    }
    if (command == "dump" && argc == 3) return Dump(argv[2], false);
    if (command == "alarms" && argc == 3) return Dump(argv[2], true);
    std::fprintf(stderr, "usage: %s write|many|due|weather|mail|dump|alarms FILE ...\n", argv[0]);
    return 2;
}
