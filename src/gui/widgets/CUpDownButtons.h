#pragma once

#include <QWidget>

class QToolButton;

// A pair of small arrow buttons stacked on top of each other, beside an edit they step. The
// upper arrow reports +1, the lower -1; holding one repeats. They take no focus: the keyboard
// steps the edit itself.
class CUpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit CUpDownButtons(QWidget* parent = nullptr);

    // The accessible name of the pair; the arrows are called "<name> up" and "<name> down".
    void SetName(const QString& name);
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    void stepped(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
