#pragma once

#include "core/platform/Win32Types.h"
#include "gui/platform/FontConverter.h"

#include <QFont>
#include <QWidget>
#include <string>

class CHoverButton;
class QCheckBox;
class QLabel;
class QLineEdit;

// The row a ringing note shows under its text: "Remind me again after" [h] "hours" [m]
// "minutes" [OK]. It only collects what the user enters; the ringing itself decides what the
// values mean. Its parent paints the background, so the row has none of its own.
class CRingingRow : public QWidget {
    Q_OBJECT
public:
    // Placed at the row's place in the note window's layout.
    explicit CRingingRow(QWidget* parent);

    // Shown with the box cleared and OK enabled; the delay fields keep what they held.
    void Begin();
    void End();
    void SetDelay(int hours, int minutes);
    void SetColors(COLORREF back, COLORREF text, COLORREF rule);
    // Lays the row out so that nothing reaches column right of the note window (its inner
    // edge): at the template's places when the texts fit them, packed closer, in a smaller
    // font down to the smallest readable one, and last with the box's caption elided (its
    // tip then shows it whole).
    void FitInto(int right);
    // After a refused value: the focus goes into that field with its text selected.
    void FocusHours() { Focus(m_hoursEdit); }
    void FocusMinutes() { Focus(m_minutesEdit); }

    static constexpr int kMinRowPixels = FontConverter::kSmallestPixels;

    std::string HoursText() const;
    std::string MinutesText() const;
    bool RemindChecked() const;

    QCheckBox* RemindCheck() const { return m_remindCheck; }
    QLineEdit* HoursEdit() const { return m_hoursEdit; }
    QLineEdit* MinutesEdit() const { return m_minutesEdit; }
    CHoverButton* OkButton() const { return m_okButton; }

signals:
    // OK, or Return in either delay field.
    void accepted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Focus(QLineEdit* edit);
    // Places the controls for font; returns where the last one ends (row coordinates).
    int Arrange(const QFont& font, bool packed);

    QCheckBox* m_remindCheck;
    QLineEdit* m_hoursEdit;
    QLineEdit* m_minutesEdit;
    QLabel* m_hoursLabel;
    QLabel* m_minutesLabel;
    CHoverButton* m_okButton;
    QFont m_rowFont;
};
