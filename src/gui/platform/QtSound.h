#pragma once

#include "core/platform/ISound.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

class QSoundEffect;

// Sound through the audio output, with Qt Multimedia. Only the presence of an output device
// is trusted: a sound effect happily "plays" into nothing when there is none.
class QtSound : public QObject, public ISound {
    Q_OBJECT
public:
    explicit QtSound(QObject* parent = nullptr);
    ~QtSound() override;

    // Asks for the device and loads the beep, so that a ring after it starts at once.
    void Prepare() override;
    bool HasAudioDevice() const override;
    // The short built-in beep; the display's bell without an audio device.
    void Beep() override;
    // Loops the file until Stop; a file that cannot be played loops the built-in beep instead.
    // Without an audio device nothing plays.
    void PlayWaveLoop(const std::string& path) override;
    void PlayWaveOnce(const std::string& path) override;
    void PlayResource(int id) override;
    void StopLoop() override;
    void StopOnce() override;

    // What is playing, for the tests and for anyone curious.
    bool IsLooping() const;
    // The clip that loops: the user's file, or the built-in beep after a failure.
    QUrl LoopSource() const;
    int BellCount() const { return m_bells; }

    static QUrl BuiltinClip(const QString& name);

signals:
    // The loop has started to sound (its clip is loaded and playing).
    void loopStarted(const QUrl& source);

private:
    std::unique_ptr<QSoundEffect> MakeEffect(const QUrl& source, bool loop);
    void OnLoopStatus();

    std::unique_ptr<QSoundEffect> m_beep;
    std::unique_ptr<QSoundEffect> m_loop;
    std::unique_ptr<QSoundEffect> m_clip;
    int m_bells = 0;
};
