#include "core/ical/CICalLook.h"

#include "core/ical/CICalText.h"
#include "core/storage/TextCodec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr long long kIntMin = -2147483648LL, kIntMax = 2147483647LL;
} // namespace

void CICalLook::WriteLook(icalcomponent* comp, const CNote& n) {
    const LOGFONT& f = n.m_font;
    CICalText::AddX(comp, "X-JOTTERLY-COLORS", CICalText::Join({n.m_backColor, n.m_textColor}));
    CICalText::AddX(
        comp, "X-JOTTERLY-FONT",
        CICalText::Join({f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight,
                         f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfCharSet, f.lfOutPrecision,
                         f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily}) +
            "," + CICalText::PercentEncode(f.lfFaceName));
    CICalText::AddX(comp, "X-JOTTERLY-BORDER", std::to_string(n.m_borderStyle));
    const RECT& w = n.m_windowRect;
    const RECT& r = n.m_firstRect;
    CICalText::AddX(comp, "X-JOTTERLY-WINDOW",
                    CICalText::Join({w.left, w.top, w.right, w.bottom, r.left, r.top, r.right,
                                     r.bottom, n.m_posted, n.m_rectKnown, n.m_topMost}));
    CICalText::AddX(comp, "X-JOTTERLY-COUNTDOWN",
                    CICalText::Join({n.m_showCountdown, n.m_countdownFormat}));
    char spare[64];
    std::snprintf(spare, sizeof spare, "%d,%d,%a", n.m_spareFlag, int(n.m_spareTime.m_status),
                  n.m_spareTime.m_dt);
    CICalText::AddX(comp, "X-JOTTERLY-SPARE", spare);
}

void CICalLook::ReadLook(icalcomponent* comp, CNote& n) {
    std::vector<long long> v;
    if (CICalText::Numbers(CICalText::GetX(comp, "X-JOTTERLY-COLORS"), v, 2, 0, 0xFFFFFFFFLL)) {
        n.m_backColor = COLORREF(v[0]);
        n.m_textColor = COLORREF(v[1]);
    }
    const std::string font = CICalText::GetX(comp, "X-JOTTERLY-FONT");
    const size_t lastComma = font.rfind(',');
    if (lastComma != std::string::npos &&
        CICalText::Numbers(font.substr(0, lastComma), v, 13, kIntMin, kIntMax) &&
        std::all_of(v.begin() + 5, v.end(), [](long long x) { return x >= 0 && x <= 255; })) {
        LOGFONT& f = n.m_font;
        f.lfHeight = int32_t(v[0]), f.lfWidth = int32_t(v[1]), f.lfEscapement = int32_t(v[2]);
        f.lfOrientation = int32_t(v[3]), f.lfWeight = int32_t(v[4]);
        f.lfItalic = uint8_t(v[5]), f.lfUnderline = uint8_t(v[6]), f.lfStrikeOut = uint8_t(v[7]);
        f.lfCharSet = uint8_t(v[8]), f.lfOutPrecision = uint8_t(v[9]);
        f.lfClipPrecision = uint8_t(v[10]), f.lfQuality = uint8_t(v[11]);
        f.lfPitchAndFamily = uint8_t(v[12]);
        f.lfFaceName = TextCodec::CutToCharacters(
            CICalText::FromCalendarText(
                CICalText::PercentDecode(font.substr(lastComma + 1)).c_str()),
            31);
    }
    if (CICalText::Numbers(CICalText::GetX(comp, "X-JOTTERLY-BORDER"), v, 1, kIntMin, kIntMax))
        n.m_borderStyle = int(v[0]);
    if (CICalText::Numbers(CICalText::GetX(comp, "X-JOTTERLY-WINDOW"), v, 11, kIntMin, kIntMax)) {
        n.m_windowRect = RECT{int32_t(v[0]), int32_t(v[1]), int32_t(v[2]), int32_t(v[3])};
        n.m_firstRect = RECT{int32_t(v[4]), int32_t(v[5]), int32_t(v[6]), int32_t(v[7])};
        n.m_posted = int(v[8]), n.m_rectKnown = int(v[9]), n.m_topMost = int(v[10]);
    }
    if (CICalText::Numbers(CICalText::GetX(comp, "X-JOTTERLY-COUNTDOWN"), v, 2, kIntMin, kIntMax)) {
        n.m_showCountdown = int(v[0]);
        n.m_countdownFormat = int(v[1]);
    }
    const std::vector<std::string> spare =
        CICalText::Split(CICalText::GetX(comp, "X-JOTTERLY-SPARE"), ',');
    if (spare.size() == 3 &&
        CICalText::Numbers(spare[0] + "," + spare[1], v, 2, kIntMin, kIntMax) && v[1] >= 0 &&
        v[1] <= 2) {
        char* end = nullptr;
        const double dt = std::strtod(spare[2].c_str(), &end);
        if (!*end && std::isfinite(dt)) {
            n.m_spareFlag = int(v[0]);
            n.m_spareTime.m_dt = dt;
            n.m_spareTime.m_status = COleDateTime::Status(v[1]);
        }
    }
}
