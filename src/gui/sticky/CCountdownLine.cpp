#include "gui/sticky/CCountdownLine.h"

#include "core/platform/Clock.h"
#include "core/sticky/CCountdown.h"

CCountdownLine::CCountdownLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("countdown"));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    hide();
}

void CCountdownLine::Update(const CNote& note) {
    if (!CCountdown::Shows(note)) return;
    const QString line = QString::fromStdString(CCountdown::ForNote(note, Clock::Now()));
    if (text() != line) setText(line);
}
