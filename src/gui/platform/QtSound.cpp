#include "gui/platform/QtSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

// The clips live in the program's resources, which it registers before making this.
QtSound::QtSound(QObject* parent) : QObject(parent) {}

QtSound::~QtSound() = default;

QUrl QtSound::BuiltinClip(const QString& name) {
    return QUrl(QStringLiteral("qrc:/sounds/%1.wav").arg(name));
}

void QtSound::Prepare() {
    if (HasAudioDevice() && !m_beep)
        m_beep = MakeEffect(BuiltinClip(QStringLiteral("beep")), false);
}

bool QtSound::HasAudioDevice() const {
    return !QMediaDevices::audioOutputs().isEmpty();
}

std::unique_ptr<QSoundEffect> QtSound::MakeEffect(const QUrl& source, bool loop) {
    // Made at use time so a device plugged in later is picked up.
    auto effect = std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput());
    effect->setLoopCount(loop ? QSoundEffect::Infinite : 1);
    effect->setSource(source);
    return effect;
}

void QtSound::Beep() {
    if (!HasAudioDevice()) {
        ++m_bells;
        QApplication::beep();
        return;
    }
    if (!m_beep || m_beep->status() == QSoundEffect::Error)
        m_beep = MakeEffect(BuiltinClip(QStringLiteral("beep")), false);
    m_beep->play();
}

void QtSound::PlayWaveLoop(const std::string& path) {
    if (m_loop) m_loop->stop();
    m_loop.reset();
    if (!HasAudioDevice()) return;
    QUrl source = path.empty() ? BuiltinClip(QStringLiteral("beep-loop"))
                               : QUrl::fromLocalFile(QString::fromStdString(path));
    m_loop = MakeEffect(source, true);
    connect(m_loop.get(), &QSoundEffect::statusChanged, this, &QtSound::OnLoopStatus);
    OnLoopStatus(); // a clip already in the cache is ready at once
}

void QtSound::OnLoopStatus() {
    if (!m_loop) return;
    switch (m_loop->status()) {
    case QSoundEffect::Ready:
        if (!m_loop->isPlaying()) {
            m_loop->play();
            emit loopStarted(m_loop->source());
        }
        break;
    case QSoundEffect::Error:
        // Like the system's default sound for a file that cannot be played.
        if (m_loop->source() != BuiltinClip(QStringLiteral("beep-loop"))) {
            QSoundEffect* failed = m_loop.release();
            failed->disconnect(this);
            failed->deleteLater(); // we are inside its signal
            m_loop = MakeEffect(BuiltinClip(QStringLiteral("beep-loop")), true);
            connect(m_loop.get(), &QSoundEffect::statusChanged, this, &QtSound::OnLoopStatus);
            OnLoopStatus();
        }
        break;
    default:
        break;
    }
}

void QtSound::PlayWaveOnce(const std::string& path) {
    if (!HasAudioDevice() || path.empty()) {
        Beep();
        return;
    }
    m_clip = MakeEffect(QUrl::fromLocalFile(QString::fromStdString(path)), false);
    connect(m_clip.get(), &QSoundEffect::statusChanged, this, [this] {
        if (!m_clip) return;
        if (m_clip->status() == QSoundEffect::Ready && !m_clip->isPlaying()) m_clip->play();
        if (m_clip->status() == QSoundEffect::Error) Beep();
    });
    if (m_clip->status() == QSoundEffect::Ready) m_clip->play();
}

void QtSound::PlayResource(int id) {
    if (!HasAudioDevice()) return;
    m_clip = MakeEffect(BuiltinClip(QString::number(id)), false);
    m_clip->play();
}

void QtSound::StopLoop() {
    if (!m_loop) return;
    m_loop->disconnect(this);
    m_loop->stop();
    m_loop.reset();
}

void QtSound::StopOnce() {
    if (m_clip) m_clip->stop();
}

bool QtSound::IsLooping() const {
    return m_loop != nullptr;
}

QUrl QtSound::LoopSource() const {
    return m_loop ? m_loop->source() : QUrl();
}
