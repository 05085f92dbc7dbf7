#include "gui/platform/CLazySound.h"

#include "gui/platform/ResourceImages.h"

#include <QApplication>
#include <QFileInfo>

CLazySound::CLazySound(QStringList folders, QObject* parent)
    : QObject(parent), m_folders(std::move(folders)) {
    // Unloading Qt Multimedia while its threads run would crash at exit.
    m_library.setLoadHints(QLibrary::PreventUnloadHint);
}

CLazySound::~CLazySound() {
    if (m_loader.joinable()) m_loader.join();
}

QStringList CLazySound::ModuleFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {program, program + QStringLiteral("/../lib/jotterly"),
            QStringLiteral(JOTTERLY_MODULE_BUILD_DIR)};
}

QString CLazySound::FindModule() const {
    for (const QString& dir : m_folders) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(kModuleName);
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

void CLazySound::Prepare() {
    if (m_sound || m_failed || m_loader.joinable()) return;
    m_library.setFileName(FindModule());
    // Reading and relocating the libraries is the slow part, and needs no event loop.
    m_loader = std::thread([this] {
        const bool loaded = m_library.load();
        QMetaObject::invokeMethod(
            this, [this, loaded] { Finish(loaded); }, Qt::QueuedConnection);
    });
}

ISound* CLazySound::Sound() const {
    if (m_sound || m_failed) return m_sound.get();
    if (m_loader.joinable()) {
        m_loader.join();
    } else {
        m_library.setFileName(FindModule());
        m_library.load();
    }
    Finish(m_library.isLoaded());
    return m_sound.get();
}

void CLazySound::Finish(bool loaded) const {
    if (m_loader.joinable()) m_loader.join(); // it posted this as its last step
    if (m_sound || m_failed) return;
    using Make = ISound* (*)();
    const auto make =
        loaded ? reinterpret_cast<Make>(m_library.resolve("jotterly_make_sound")) : nullptr;
    if (!make) {
        m_failed = true;
        const QString why = m_library.fileName().isEmpty()
                                ? QStringLiteral("%1 was not found").arg(kModuleName)
                                : m_library.errorString();
        if (m_tell)
            m_tell(QStringLiteral("Jotterly cannot play sounds (%1). Ringing notes flash "
                                  "instead, and each is also shown as a desktop notice.")
                       .arg(why));
        return;
    }
    ResourceImages::Init(); // the built-in clips
    m_sound.reset(make());
    m_sound->Prepare();
}

bool CLazySound::HasAudioDevice() const {
    const ISound* sound = Sound();
    return sound && sound->HasAudioDevice();
}

void CLazySound::Beep() {
    if (ISound* sound = Sound())
        sound->Beep();
    else
        QApplication::beep();
}

void CLazySound::PlayWaveLoop(const std::string& path) {
    if (ISound* sound = Sound()) sound->PlayWaveLoop(path);
}

void CLazySound::PlayWaveOnce(const std::string& path) {
    if (ISound* sound = Sound())
        sound->PlayWaveOnce(path);
    else
        QApplication::beep();
}

void CLazySound::PlayResource(int id) {
    if (ISound* sound = Sound()) sound->PlayResource(id);
}

// Nothing plays before the back end is loaded: stopping never loads it.
void CLazySound::StopLoop() {
    if (m_sound) m_sound->StopLoop();
}

void CLazySound::StopOnce() {
    if (m_sound) m_sound->StopOnce();
}
