#pragma once

#include "core/platform/Win32Types.h"

#include <QImage>
#include <QPushButton>
#include <QRegion>

// A push button shaped by a region, painted from four cached images (normal, pressed, hover,
// disabled). Only the region itself reacts to the pointer; the corners of its bounding box
// belong to the parent. The second click of a double click is a click of its own.
class CRegionButton : public QPushButton {
    Q_OBJECT
public:
    // Window style bits understood by Create.
    static constexpr int kVisible = 0x10000000;
    static constexpr int kDisabled = 0x08000000;
    enum State { Normal, Pressed, Hover, Disabled };

    explicit CRegionButton(QWidget* parent = nullptr);

    // region is copied and moved so that its bounding box starts at (0, 0); the button covers
    // that box placed at (x, y) in parent.
    bool Create(const QString& text, int style, int x, int y, const QRegion& region,
                QWidget* parent, int id, int bevel, COLORREF normalColor, COLORREF pressedColor,
                COLORREF hoverColor, COLORREF disabledColor);

    int Id() const { return m_id; }
    bool IsHover() const { return m_hover; }
    const QRegion& Region() const { return m_region; }
    // The cached picture of a state (rebuilt first when needed).
    const QImage& StateImage(State state);

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RebuildImages();
    QImage BuildImage(COLORREF fill, State state) const;
    void UpdateHover(const QPoint& pos);

    int m_id = 0;
    int m_bevel = 1;
    COLORREF m_normalColor = 0, m_pressedColor = 0, m_hoverColor = 0, m_disabledColor = 0;
    QImage m_normalBitmap, m_pressedBitmap, m_hoverBitmap, m_disabledBitmap;
    int m_textX = 0, m_textY = 0;
    bool m_pressed = false, m_hover = false;
    QRegion m_region;
    bool m_rebuild = false;
};
