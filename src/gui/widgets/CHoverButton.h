#pragma once

#include "core/platform/Win32Types.h"

#include <QIcon>
#include <QPushButton>

// A flat, self-painted push button: a caption in bold "Arial" or an icon, framed always or
// only while the pointer is over it. Clicks reach the parent as for any push button.
class CHoverButton : public QPushButton {
    Q_OBJECT
public:
    enum Flag {
        TextButton = 1,
        IconButton = 2,
        PressedIcon = 4, // the second icon while pressed
        AlwaysFramed = 16,
        HoverFrame = 32,
        TextShadow = 64,
    };

    explicit CHoverButton(QWidget* parent = nullptr);

    void SetFlags(int flags);
    // Loads icon resources id1 (and id2, id3 when count is 2 or 3), drawn width x height.
    void SetIcons(int count, int width, int height, int id1, int id2 = 0, int id3 = 0);
    // pointSize in tenths of a point; 0 or less derives it from the button height.
    void SetCaption(const QString& text, COLORREF color, int pointSize);
    void SetTextColor(COLORREF color);
    void SetBackColor(COLORREF color);

    int Flags() const { return m_flags; }
    // The caption size in tenths of a point that painting uses.
    int CaptionPointSize() const;
    QFont CaptionFont() const;
    bool IsHover() const { return m_hover; }
    bool IsPressed() const { return m_pressed; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawFrame(QPainter& p, bool sunken) const;
    QPixmap GreyedIcon() const;
    void DrawIcon(QPainter& p, const QIcon& icon, int x, int y) const;
    void DrawFocus(QPainter& p) const;

    int m_flags = 0;
    int m_pointSize = 0;
    int m_iconCount = 0;
    int m_iconWidth = 0, m_iconHeight = 0;
    bool m_hover = false;
    bool m_pressed = false;
    QIcon m_iconPressed, m_icon, m_iconThird; // drawn at the screen's density
    QString m_caption;
    COLORREF m_textColor = 0;
    COLORREF m_backColor;
    bool m_backFromPalette = true; // until an owner gives its own: follows the desktop's theme
};
