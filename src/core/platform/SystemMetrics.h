#pragma once

// Metric constants of the window frame, in pixels (the GUI may refine the scroll thumb from
// its style).
struct SystemMetrics {
    static constexpr int SM_CXFRAME = 4;
    static constexpr int SM_CYFRAME = 4;
    static constexpr int SM_CXEDGE = 2;
    static constexpr int SM_CYEDGE = 2;
    static constexpr int SM_CXBORDER = 1;
    static constexpr int SM_CYBORDER = 1;
    static constexpr int SM_CXVSCROLL = 16;
    static constexpr int SM_CYHSCROLL = 16;
};

// System colour ids, mapped to palette roles by the GUI.
enum SystemColor {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};
