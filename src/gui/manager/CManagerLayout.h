#pragma once

#include <QRect>

class CManagerStatusLine;
class CManagerToolbar;
class CNoteList;
class QLabel;
class QWidget;

// Where the Note Manager's parts go: compact (list and editor) or full (with the calendar and,
// when shown, the category tree), and how tall the window is. The height above the designed
// one goes to the list; on a small screen the list gives up rows so that the window fits.
class CManagerLayout {
public:
    struct Parts {
        QWidget* tree;
        CNoteList* list;
        QLabel* count;
        QWidget* editor;
        QWidget* calendar;
        CManagerToolbar* toolbar;
        CManagerStatusLine* status;
    };
    static constexpr int kFrame = 9; // the fading border's width

    CManagerLayout(QWidget& window, const Parts& parts) : m_window(window), m_parts(parts) {}

    int DesignedHeight() const;
    int MinHeight() const;
    // Places every part at the window's height; returns the caption band.
    QRect Place(bool full, bool tree);
    // Sizes and centres the window for the view; opened: the user's extra height is kept.
    void Fit(bool full, bool opened);
    // The height the user gave the window last time (extra over the designed initialHeight),
    // within the screen.
    void RestoreHeight(int initialHeight, int extraHeight);

private:
    int ListWidth() const;

    QWidget& m_window;
    Parts m_parts;
};
