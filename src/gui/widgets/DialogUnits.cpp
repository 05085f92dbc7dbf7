#include "gui/widgets/DialogUnits.h"

#include <QFontMetrics>

namespace {
// a * b / c rounded to the nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>((p >= 0 ? p + c / 2 : p - c / 2) / c);
}
} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    // The average width of the letters, rounded, as the dialog manager measures it.
    const int letters = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_charWidth = (letters / 26 + 1) / 2;
    m_charHeight = fm.height();
    if (m_charWidth < 1) m_charWidth = 1;
    if (m_charHeight < 1) m_charHeight = 1;
}

QFont DialogUnits::DialogFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    return f;
}

int DialogUnits::X(int units) const {
    return MulDiv(units, m_charWidth, 4);
}

int DialogUnits::Y(int units) const {
    return MulDiv(units, m_charHeight, 8);
}

QRect DialogUnits::Rect(int x, int y, int w, int h) const {
    return QRect(X(x), Y(y), X(w), Y(h));
}
