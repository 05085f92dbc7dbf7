#pragma once
// A dark desktop palette, for the pictures that must follow the user's colours.
#include <QApplication>
#include <QPalette>
#include <QStyle>

inline QPalette DarkPalette() {
    QPalette dark = QApplication::style()->standardPalette();
    const struct {
        QPalette::ColorRole role;
        QColor color;
    } roles[] = {{QPalette::Window, QColor(45, 45, 48)},
                 {QPalette::WindowText, QColor(230, 230, 230)},
                 {QPalette::Base, QColor(30, 30, 32)},
                 {QPalette::AlternateBase, QColor(40, 40, 44)},
                 {QPalette::Text, QColor(230, 230, 230)},
                 {QPalette::Button, QColor(50, 50, 54)},
                 {QPalette::ButtonText, QColor(230, 230, 230)},
                 {QPalette::Light, QColor(90, 90, 96)},
                 {QPalette::Midlight, QColor(70, 70, 76)},
                 {QPalette::Mid, QColor(35, 35, 38)},
                 {QPalette::Dark, QColor(25, 25, 28)},
                 {QPalette::Shadow, QColor(10, 10, 10)},
                 {QPalette::Highlight, QColor(40, 100, 180)},
                 {QPalette::HighlightedText, Qt::white}};
    for (const auto& r : roles)
        dark.setColor(r.role, r.color);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    return dark;
}
