#pragma once

#include <string>
#include <vector>

class CNote;

// The note window's menu as data: which items it has for the note's state, which carry a
// check mark, how large each is, and the rules of the commands that need no window.
class CNoteMenuModel {
public:
    enum Id {
        Scheme1 = 127,
        Scheme2 = 129,
        Scheme3 = 128,
        Scheme4 = 148,
        MyBackColor = 147,
        MyTextColor = 130,
        MyFont = 131,
        BorderStyle = 212,
        BorderDefault = 213,
        BorderEmboss = 214,
        BorderGlow = 215,
        Separator = 150,
        ShowCountdown = 146,
        CountdownFormat = 202,
        FormatDay = 204,
        FormatHour = 205,
        FormatMinute = 206,
        FormatSecond = 207,
        Delete = 152,
        SaveToFile = 208,
        Print = 216,
        TimeSetting = 153
    };

    struct Item {
        int id = 0;
        std::string label;
        bool checked = false;
        std::vector<Item> children; // a submenu when not empty
        bool IsSeparator() const { return id == Separator; }
        // A submenu choice: painted with a check box instead of a plain label.
        bool IsChoice() const;
        // The scheme index (0..3) the item previews, or -1.
        int SchemeIndex() const;
    };
    struct Size {
        int cx = 0, cy = 0;
        bool operator==(const Size&) const = default;
    };

    // The basic item width is that of the first 18 characters of this text in the menu font.
    static std::string WidthSample() { return std::string("Countdown FORMATAAA").substr(0, 18); }
    static constexpr int kLabelLeft = 13;
    static constexpr int kChoiceLabelLeft = 24;

    // ringing: the note rings now; managerOpen: the Note Manager is open.
    static std::vector<Item> Build(const CNote& note, bool ringing, bool managerOpen);
    // itemWidth: width of WidthSample(); menuHeight: the system's menu bar height.
    static Size Measure(const Item& item, int itemWidth, int menuHeight);

    // The countdown format after its unit bit (8, 4, 2, 1) was toggled: the last unit left on
    // stays on.
    static int ToggleFormat(int format, int bit);
    static int FormatBitOf(int id);
    // The border style (0..2) a border item stands for, or -1.
    static int BorderStyleOf(int id);
    // A chosen font height (either sign) that the note window cannot show.
    static bool IsFontTooBig(int lfHeight) { return lfHeight >= 70 || lfHeight <= -70; }
};
