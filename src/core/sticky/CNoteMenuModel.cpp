#include "core/sticky/CNoteMenuModel.h"

#include "core/model/CNote.h"

namespace {
using Item = CNoteMenuModel::Item;
using M = CNoteMenuModel;

Item Make(int id, const char* label, bool checked = false) {
    return Item{id, label, checked, {}};
}
} // namespace

bool CNoteMenuModel::Item::IsChoice() const {
    return (id >= FormatDay && id <= FormatSecond) || (id >= BorderDefault && id <= BorderGlow);
}

int CNoteMenuModel::Item::SchemeIndex() const {
    switch (id) {
    case Scheme1:
        return 0;
    case Scheme2:
        return 1;
    case Scheme3:
        return 2;
    case Scheme4:
        return 3;
    default:
        return -1;
    }
}

std::vector<Item> CNoteMenuModel::Build(const CNote& note, bool ringing, bool managerOpen) {
    std::vector<Item> items = {Make(Scheme1, "Scheme 1"),
                               Make(Scheme2, "Scheme 2"),
                               Make(Scheme3, "Scheme 3"),
                               Make(Scheme4, "Scheme 4"),
                               Make(MyBackColor, "My Back Color"),
                               Make(MyTextColor, "My Text Color"),
                               Make(MyFont, "My Font")};
    Item border = Make(BorderStyle, "My Border Style");
    border.children = {Make(BorderDefault, "Default", note.m_borderStyle == 0),
                       Make(BorderEmboss, "Emboss", note.m_borderStyle == 1),
                       Make(BorderGlow, "Glow", note.m_borderStyle == 2)};
    items.push_back(border);
    if (ringing) return items;
    if (note.m_type != CNote::Memo) {
        items.push_back(Make(Separator, ""));
        items.push_back(
            Make(ShowCountdown, note.m_showCountdown ? "Hide Countdown" : "Show Countdown"));
        Item format = Make(CountdownFormat, "Countdown Format");
        const int f = note.m_countdownFormat;
        format.children = {Make(FormatDay, "Day", f & 8), Make(FormatHour, "Hour", f & 4),
                           Make(FormatMinute, "Minute", f & 2),
                           Make(FormatSecond, "Second", f & 1)};
        items.push_back(format);
    }
    if (!managerOpen) {
        items.push_back(Make(Separator, ""));
        items.push_back(Make(Delete, "Delete"));
        items.push_back(Make(SaveToFile, "Save To File"));
        items.push_back(Make(Print, "Print"));
        items.push_back(Make(TimeSetting, "Time Setting"));
    }
    return items;
}

CNoteMenuModel::Size CNoteMenuModel::Measure(const Item& item, int itemWidth, int menuHeight) {
    if (item.IsSeparator()) return {itemWidth, 5};
    const int height = menuHeight - 1 + 2;
    return {item.IsChoice() ? itemWidth * 2 / 3 : itemWidth, height};
}

int CNoteMenuModel::ToggleFormat(int format, int bit) {
    const int toggled = (format ^ bit) & 15;
    return toggled == 0 ? bit : toggled;
}

int CNoteMenuModel::FormatBitOf(int id) {
    switch (id) {
    case FormatDay:
        return 8;
    case FormatHour:
        return 4;
    case FormatMinute:
        return 2;
    case FormatSecond:
        return 1;
    default:
        return 0;
    }
}

int CNoteMenuModel::BorderStyleOf(int id) {
    return id >= BorderDefault && id <= BorderGlow ? id - BorderDefault : -1;
}
