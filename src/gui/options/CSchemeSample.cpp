#include "gui/options/CSchemeSample.h"

#include "core/platform/SystemMetrics.h"
#include "core/sticky/CNoteGeometry.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"
#include "gui/sticky/CNotePainter.h"

#include <QPainter>

CSchemeSample::CSchemeSample(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSchemeSample::SetLook(const LOGFONT& font, COLORREF back, COLORREF text, int borderStyle) {
    m_font = font;
    m_back = back;
    m_text = text;
    m_border = borderStyle;
    update();
}

void CSchemeSample::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect r = rect().adjusted(SystemMetrics::SM_CXEDGE, SystemMetrics::SM_CYEDGE,
                                    -SystemMetrics::SM_CXEDGE, -SystemMetrics::SM_CYEDGE);
    p.fillRect(r, GdiPaint::ToQColor(m_back));
    p.setFont(FontConverter::ToQFont(m_font));
    p.setPen(GdiPaint::ToQColor(m_text));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("Sample text"));

    const QColor light = SystemColors::Get(COLOR_3DLIGHT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW);
    switch (m_border) {
    case CNoteGeometry::StyleEmboss:
        GdiPaint::Draw3dRect(p, r, light, dark);
        GdiPaint::Draw3dRect(p, r.adjusted(3, 3, -3, -3), dark, light);
        break;
    case CNoteGeometry::StyleGlow:
        CNotePainter::DrawGlow(p, r, m_back);
        break;
    default:
        GdiPaint::Draw3dRect(p, r, light, dark);
        break;
    }
}
