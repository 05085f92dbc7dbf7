#pragma once

#include "core/platform/Win32Types.h"

#include <QWidget>

// The sample of a scheme on the Note page: its back colour, "Sample text" in its font and text
// colour, and the frame of a border style, drawn as a note draws them.
class CSchemeSample : public QWidget {
    Q_OBJECT
public:
    explicit CSchemeSample(QWidget* parent);

    void SetLook(const LOGFONT& font, COLORREF back, COLORREF text, int borderStyle);
    int BorderStyle() const { return m_border; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    LOGFONT m_font;
    COLORREF m_back = 0, m_text = 0;
    int m_border = 0;
};
