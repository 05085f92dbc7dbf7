#pragma once

#include <QLabel>

class CNote;

// A note's countdown line. It fills its own background, so a new text repaints the line
// alone, and an unchanged text repaints nothing at all.
class CCountdownLine : public QLabel {
    Q_OBJECT
public:
    explicit CCountdownLine(QWidget* parent);
    // The note's line for the current time; nothing when the note shows none.
    void Update(const CNote& note);
};
