#pragma once

#include <string>
#include <vector>

// One entry of the tray menu as the model builds it; the popup window measures and paints it.
struct CTrayMenuItem {
    // Owner-drawn items: the item data (command id, submenu code, 150 for a separator).
    // Plain items: their command id (0 for a plain separator).
    int data = 0;
    // The id sent when the item is chosen; 0 for headers, separators and report lines.
    int command = 0;
    bool ownerDrawn = true;
    bool separator = false;
    bool greyed = false;
    // A report line: drawn in the normal colours even under the mouse, and has no command.
    bool reportLine = false;
    std::string text;
    int icon = 0; // resource id; 0 = none
    bool submenu = false;
    std::vector<CTrayMenuItem> children;

    // Whether the mouse or the keys may rest on it.
    bool Selectable() const { return !separator && !greyed; }
    // Whether a selected item is painted in the selection colours.
    bool ShowsSelection() const { return Selectable() && !reportLine; }
};
