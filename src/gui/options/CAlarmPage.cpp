#include "gui/options/CAlarmPage.h"

#include "core/alarms/RingingCount.h"
#include "core/options/COptionsValues.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ISound.h"
#include "core/platform/IntegerField.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

CAlarmPage::CAlarmPage(COptionsValues& values, IDialogs& dialogs, ISound& sound, QWidget* parent)
    : COptionsPage(values, dialogs, parent), m_sound(sound) {
    const DialogUnits du = Units();
    for (const QRect& r : {du.Rect(1, 2, 222, 57), du.Rect(1, 61, 222, 46)}) {
        auto* frame = new QFrame(this);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken); // etched
        frame->setGeometry(r);
    }
    m_speaker = Place(new QRadioButton(tr("Speaker"), this), 9, 7, 41, 8, "speaker",
                      "Use PC speaker as alarm");
    m_wave = Place(new QRadioButton(tr("Wave file"), this), 9, 19, 49, 8, "waveFile",
                   "Use a wave file as alarm");
    m_browse = Place(new QPushButton(tr("Browse"), this), 66, 17, 37, 13, "browse",
                     "Browse to select a wave file");
    m_play = Place(new QPushButton(tr("Play"), this), 110, 17, 37, 13, "play",
                   "Play/Stop selected wave file");
    m_path = Place(new QLabel(this), 10, 32, 205, 9, "wavePath");
    m_mute = Place(new QRadioButton(tr("Mute"), this), 9, 47, 30, 8, "mute", "Mute alarm");
    m_countdown = Place(new QCheckBox(tr("Show count down by default"), this), 100, 46, 120, 10,
                        "countdownDefault", "Show count down for sticky notes");
    Place(new QLabel(tr("Check alarm every"), this), 10, 70, 72, 8, "periodLabel");
    m_period = Place(new QLineEdit(this), 84, 68, 20, 12, "checkPeriod",
                     "Adjust the sensitivity of system, input a number between 1-300");
    Place(new QLabel(tr("seconds"), this), 106, 70, 30, 9, "periodUnit");
    m_stopAfter = Place(new QCheckBox(tr("Stop alarm after"), this), 10, 88, 72, 10, "stopAfter",
                        "Stop alarm after notes go off for a while");
    m_stopSeconds =
        Place(new QLineEdit(this), 84, 87, 20, 12, "stopSeconds", "Input a number between 1-600");
    Place(new QLabel(tr("seconds"), this), 106, 89, 27, 8, "stopUnit");
    for (QPushButton* b : {m_browse, m_play})
        b->setAutoDefault(false);
    m_path->setTextFormat(Qt::PlainText);

    auto* group = new QButtonGroup(this);
    for (QRadioButton* r : {m_speaker, m_wave, m_mute})
        group->addButton(r);
    QRadioButton* chosen = values.alarmSound == CSettings::SoundWave   ? m_wave
                           : values.alarmSound == CSettings::SoundMute ? m_mute
                                                                       : m_speaker;
    chosen->setChecked(true);
    m_path->setText(QString::fromStdString(values.wavePath));
    m_countdown->setChecked(values.countdownDefault);
    m_period->setText(QString::number(values.checkSeconds));
    m_stopAfter->setChecked(values.stopAfterOn);
    m_stopSeconds->setText(QString::number(values.stopAfterSeconds));
    UpdateButtons();
    m_stopSeconds->setEnabled(values.stopAfterOn);

    connect(group, &QButtonGroup::buttonClicked, this, &CAlarmPage::OnSoundChosen);
    connect(m_play, &QPushButton::clicked, this, &CAlarmPage::TogglePreview);
    connect(m_browse, &QPushButton::clicked, this, &CAlarmPage::Browse);
    connect(m_stopAfter, &QCheckBox::toggled, m_stopSeconds, &QWidget::setEnabled);
}

CAlarmPage::~CAlarmPage() {
    StopPreview();
}

void CAlarmPage::UpdateButtons() {
    const bool device = m_sound.HasAudioDevice(), wave = m_wave->isChecked();
    m_wave->setEnabled(device);
    // Greyed without a word would look like a fault: the path line tells why (the chosen
    // file is kept).
    if (!device) {
        m_path->setText(tr("No sound device was found: wave files cannot be played."));
        m_wave->setToolTip(tr("No sound device was found: wave files cannot be played"));
    }
    m_browse->setEnabled(device && wave);
    m_play->setEnabled(device && wave && !m_values.wavePath.empty());
}

void CAlarmPage::OnSoundChosen(QAbstractButton* button) {
    if (button != m_wave) StopPreview();
    UpdateButtons();
}

void CAlarmPage::StopPreview() {
    if (!m_playing) return;
    m_playing = false;
    m_play->setText(tr("Play"));
    // A note that began to ring meanwhile has taken the loop: it plays on.
    if (!m_previewLoops)
        m_sound.StopOnce();
    else if (g_ringingCount == 0)
        m_sound.StopLoop();
}

void CAlarmPage::TogglePreview() {
    if (m_playing) {
        StopPreview();
        return;
    }
    m_play->setText(tr("Stop"));
    // A ringing note keeps the loop; the preview then plays the file once beside it.
    m_previewLoops = g_ringingCount == 0;
    if (m_previewLoops)
        m_sound.PlayWaveLoop(m_values.wavePath);
    else
        m_sound.PlayWaveOnce(m_values.wavePath);
    m_playing = true;
}

void CAlarmPage::Browse() {
    if (!Validate()) return;
    StopPreview();
    if (const auto file = m_dialogs.OpenFileName("wav", "*.wav", "Wave Files (*.wav)|*.wav||")) {
        m_values.wavePath = *file;
        m_path->setText(QString::fromStdString(*file));
    }
    UpdateButtons();
}

bool CAlarmPage::Validate() {
    int period = 0, stop = 0;
    // The seconds are checked even while stop-after is off: they are what it starts with.
    return ReadInteger(m_period, 1, 300, period) && ReadInteger(m_stopSeconds, 1, 600, stop);
}

void CAlarmPage::Store() {
    m_values.alarmSound = m_wave->isChecked()   ? CSettings::SoundWave
                          : m_mute->isChecked() ? CSettings::SoundMute
                                                : CSettings::SoundSpeaker;
    m_values.countdownDefault = m_countdown->isChecked();
    m_values.stopAfterOn = m_stopAfter->isChecked();
    ParseIntegerField(m_period->text().toStdString(), 1, 300, m_values.checkSeconds);
    ParseIntegerField(m_stopSeconds->text().toStdString(), 1, 600, m_values.stopAfterSeconds);
}
