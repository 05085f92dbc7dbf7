#pragma once

#include "core/platform/ISound.h"

#include <QLibrary>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

// The program's sound, with the audio back end (Qt Multimedia, the sound server's client
// libraries) in a module of its own that is loaded when something is to sound, or warmed by
// Prepare shortly before an alarm: most sessions never ring in their first minutes, and the
// back end costs more memory than the rest of the program at rest.
class CLazySound : public QObject, public ISound {
    Q_OBJECT
public:
    // folders: where the module is looked for, first match wins.
    explicit CLazySound(QStringList folders = ModuleFolders(), QObject* parent = nullptr);
    ~CLazySound() override;

    // Told once when the module cannot be loaded: rings then only flash, and the user must
    // know why they are silent.
    void SetOnUnavailable(std::function<void(const QString&)> tell) { m_tell = std::move(tell); }

    // Opens the module on a worker thread; the back end itself starts on this thread once
    // it is there, so the ring that follows sounds at once.
    void Prepare() override;
    bool HasAudioDevice() const override;
    void Beep() override;
    void PlayWaveLoop(const std::string& path) override;
    void PlayWaveOnce(const std::string& path) override;
    void PlayResource(int id) override;
    void StopLoop() override;
    void StopOnce() override;

    // Whether the back end runs (tests).
    bool IsLoaded() const { return m_sound != nullptr; }
    // Beside the program (the build tree), ../lib/jotterly from it (an installation), then the
    // build folder this was made in (the tests' programs).
    static QStringList ModuleFolders();
    static constexpr const char* kModuleName = "jotterly-sound.so";

private:
    // The back end, loaded now when needed; null when the module cannot be loaded.
    ISound* Sound() const;
    void Finish(bool loaded) const;
    QString FindModule() const;

    QStringList m_folders;
    mutable QLibrary m_library;
    mutable std::unique_ptr<ISound> m_sound;
    mutable std::thread m_loader;
    mutable bool m_failed = false;
    std::function<void(const QString&)> m_tell;
};
