#pragma once

#include "gui/options/COptionsPage.h"

class ISound;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Alarm": the alarm sound with a preview of the wave file, the check period, stop-after and
// whether new notes show the countdown.
class CAlarmPage : public COptionsPage {
    Q_OBJECT
public:
    CAlarmPage(COptionsValues& values, IDialogs& dialogs, ISound& sound, QWidget* parent);
    ~CAlarmPage() override;

    bool Validate() override;
    void Store() override;
    void Closing() override { StopPreview(); }

    bool PreviewPlaying() const { return m_playing; }

private:
    void OnSoundChosen(QAbstractButton* button);
    void TogglePreview();
    void Browse();
    void StopPreview();
    void UpdateButtons();

    ISound& m_sound;
    bool m_playing = false;
    bool m_previewLoops = false; // else the preview plays once beside a ringing note's loop
    QRadioButton* m_speaker;
    QRadioButton* m_wave;
    QRadioButton* m_mute;
    QPushButton* m_browse;
    QPushButton* m_play;
    QLabel* m_path;
    QCheckBox* m_countdown;
    QLineEdit* m_period;
    QCheckBox* m_stopAfter;
    QLineEdit* m_stopSeconds;
};
