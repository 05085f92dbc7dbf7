#pragma once

#include "core/app/CTrayMenuItem.h"
#include "core/platform/Win32Types.h"

#include <string>
#include <vector>

class CTrayCore;

// The tray menu as data: which items, in which order, greyed or not, and how large each one
// is. Built afresh each time the menu opens; the popup window only paints what this says.
class CTrayMenu {
public:
    struct Size {
        int cx = 0, cy = 0;
        bool operator==(const Size&) const = default;
    };

    // Where an owner-drawn item puts its picture and its text, from the item's left edge.
    static constexpr int kIconLeft = 4;
    static constexpr int kIconSize = 16;
    static constexpr int kTextLeft = 26;
    static constexpr COLORREF kSelectedFill = RGB(75, 75, 192);
    static constexpr COLORREF kSelectedText = RGB(255, 255, 255);
    static constexpr int kWeatherItemWidth = 210;
    // Weather lines widen for their text up to this; a longer one is elided (with a tooltip).
    static constexpr int kWeatherMaxItemWidth = 2 * kWeatherItemWidth;
    // Plain items leave this much room after their text.
    static constexpr int kPlainRightMargin = 16;
    // The basic item width is that of this text's first 20 characters in the menu font.
    static constexpr const char* kWidthSample = "Countdown FORMATAAAAA";
    static std::string WidthSample();

    // From the menu font: the width of WidthSample() and the system's menu bar height.
    void SetMetrics(int sampleWidth, int systemMenuHeight);
    void Build(const CTrayCore& core);

    // Size of an item; textWidth is the width of its text in the menu font (plain items and
    // weather lines follow it).
    Size Measure(const CTrayMenuItem& item, int textWidth = 0) const;
    // Height of every item but a separator.
    int ItemHeight() const;

    std::vector<CTrayMenuItem> m_items;
    int m_menuItemWidth = 0;
    int m_menuItemHeight = 0;
    int m_weatherItemWidth = 0;
};
