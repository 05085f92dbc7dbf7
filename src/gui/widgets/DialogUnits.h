#pragma once

#include <QFont>
#include <QRect>

// Dialog units to pixels for a dialog font, the way dialog layouts are measured: a horizontal
// unit is a quarter of the font's average character width, a vertical unit an eighth of its
// height. Every dialog converts its layout through this one class.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font = DialogFont());

    // The font dialogs are drawn in (8 points at 96 dpi).
    static QFont DialogFont();

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int w, int h) const;

    int AverageCharWidth() const { return m_charWidth; }
    int CharHeight() const { return m_charHeight; }

private:
    int m_charWidth;
    int m_charHeight;
};
