#pragma once
// Real input as the pointer gives it: through the top-level window, at the widget's place.
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace GuiInput {

// Clicks w at `at` (its own coordinates); without a point, where a user would: the box of a
// check box or radio button, the middle of anything else.
inline void Click(QWidget* w, QPoint at = {}, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers m = {}) {
    if (at.isNull())
        at = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)
                 ? QPoint(6, w->height() / 2)
                 : w->rect().center();
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), b, m, w->mapTo(top, at));
}

} // namespace GuiInput
