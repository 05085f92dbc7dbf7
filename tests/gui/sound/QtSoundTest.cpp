// The sound layer against a real audio server. The audio back end binds to its server once
// per process, so each case runs in a child process of this test program with its own
// server settings; the parent starts and stops the server.
#include "platform/QtSound.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const char* const kSink = "jotterly_null";

struct ChildResult {
    int exitCode = -1;
    QString output;
};

// Runs one of the DISABLED_ child cases below in a fresh process.
ChildResult RunChild(const QString& test, const QProcessEnvironment& env) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=SoundChild.DISABLED_") + test});
    ChildResult r;
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        r.output = QString::fromLocal8Bit(child.readAll()) + "\n(timed out)";
        return r;
    }
    r.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    r.output = QString::fromLocal8Bit(child.readAll());
    return r;
}

// Listens to the null sink's monitor for the whole case: a recorder started per check would
// lose its first few hundred milliseconds to connecting.
class SinkMonitor {
public:
    bool Start() {
        m_rec.start(QStringLiteral("parec"),
                    {QStringLiteral("--device=%1.monitor").arg(kSink), QStringLiteral("--raw"),
                     QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                     QStringLiteral("--rate=22050"), QStringLiteral("--latency-msec=20")});
        if (!m_rec.waitForStarted(5000)) return false;
        // Wait until samples flow.
        QElapsedTimer t;
        t.start();
        while (m_rec.bytesAvailable() == 0 && t.elapsed() < 5000)
            m_rec.waitForReadyRead(50);
        return m_rec.bytesAvailable() > 0;
    }
    ~SinkMonitor() {
        m_rec.kill();
        m_rec.waitForFinished();
    }
    // The loudest sample heard in the next ms milliseconds.
    int Peak(int ms) {
        m_rec.readAllStandardOutput(); // what came before does not count
        QByteArray data;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            m_rec.waitForReadyRead(20);
            data += m_rec.readAllStandardOutput();
            QCoreApplication::processEvents();
        }
        int peak = 0;
        for (int i = 0; i + 1 < data.size(); i += 2) {
            int v = static_cast<int16_t>(uint8_t(data[i]) | (uint8_t(data[i + 1]) << 8));
            peak = std::max(peak, std::abs(v));
        }
        return peak;
    }

private:
    QProcess m_rec;
};

QString SourceFile(const char* relative) {
    return QStringLiteral(JOTTERLY_SOURCE_DIR "/") + relative;
}

} // namespace

// ---------------------------------------------------------------- parent cases

TEST(QtSoundNoDevice, BellInsteadOfBeepAndNoLoop) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A server address where none listens: the back end finds no output device.
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/jotterly"));
    ChildResult r = RunChild(QStringLiteral("NoDevice"), env);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains("[  PASSED  ] 1 test")) << r.output.toStdString();
}

TEST(QtSoundNullSink, WaveLoopStartsAndStops) {
    QString server = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (server.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        GTEST_SKIP() << "no PulseAudio here (pulseaudio and parec); the null-sink case needs it";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString socket = dir.filePath(QStringLiteral("native"));
    QProcessEnvironment serverEnv = QProcessEnvironment::systemEnvironment();
    serverEnv.insert(QStringLiteral("HOME"), dir.path());
    serverEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    serverEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    QProcess pulse;
    pulse.setProcessEnvironment(serverEnv);
    pulse.setProcessChannelMode(QProcess::MergedChannels);
    pulse.start(server, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                         QStringLiteral("--disable-shm=yes"),
                         QStringLiteral("--load=module-null-sink sink_name=%1").arg(kSink),
                         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 "
                                        "socket=%1")
                             .arg(socket)});
    ASSERT_TRUE(pulse.waitForStarted(5000));
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(socket) && t.elapsed() < 10000)
        QTest::qWait(50);
    ASSERT_TRUE(QFile::exists(socket)) << pulse.readAll().toStdString();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
    ChildResult r = RunChild(QStringLiteral("NullSink"), env);

    qint64 pid = pulse.processId();
    pulse.terminate(); // this PID only
    if (!pulse.waitForFinished(5000)) {
        pulse.kill();
        pulse.waitForFinished();
    }
    EXPECT_GT(pid, 0);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains("[  PASSED  ] 1 test")) << r.output.toStdString();
}

// ---------------------------------------------------------------- child cases

TEST(SoundChild, DISABLED_NoDevice) {
    QtSound sound;
    EXPECT_FALSE(sound.HasAudioDevice());
    sound.Beep();
    sound.Beep();
    EXPECT_EQ(sound.BellCount(), 2);
    sound.PlayWaveLoop(SourceFile("resources/sounds/beep-loop.wav").toStdString());
    EXPECT_FALSE(sound.IsLooping());
    sound.PlayResource(242);
    sound.Stop();
    EXPECT_FALSE(sound.IsLooping());
}

TEST(SoundChild, DISABLED_NullSink) {
    QtSound sound;
    ASSERT_TRUE(sound.HasAudioDevice());
    SinkMonitor sink;
    ASSERT_TRUE(sink.Start());
    EXPECT_LT(sink.Peak(300), 100); // silence before anything plays

    // The user's file loops: heard, and still heard after its one second has passed.
    QTemporaryDir dir;
    QString wav = dir.filePath(QStringLiteral("alarm.wav"));
    ASSERT_TRUE(QFile::copy(SourceFile("resources/sounds/beep-loop.wav"), wav));
    QSignalSpy started(&sound, &QtSound::loopStarted);
    sound.PlayWaveLoop(wav.toStdString());
    ASSERT_TRUE(started.count() > 0 || started.wait(5000));
    EXPECT_EQ(started.at(0).at(0).toUrl(), QUrl::fromLocalFile(wav));
    EXPECT_GT(sink.Peak(1200), 5000);
    EXPECT_GT(sink.Peak(1200), 5000);
    EXPECT_TRUE(sound.IsLooping());

    sound.Stop();
    EXPECT_FALSE(sound.IsLooping());
    QTest::qWait(300);
    EXPECT_LT(sink.Peak(1200), 100);

    // A file that is no sound at all, and one that does not exist: the built-in beep loops.
    QString text = dir.filePath(QStringLiteral("not-a-sound.wav"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not audio\n");
    f.close();
    for (const QString& bad : {text, dir.filePath(QStringLiteral("missing.wav"))}) {
        started.clear();
        sound.PlayWaveLoop(bad.toStdString());
        QElapsedTimer t;
        t.start();
        while (sound.LoopSource() != QtSound::BuiltinClip("beep-loop") && t.elapsed() < 5000)
            QTest::qWait(20);
        EXPECT_EQ(sound.LoopSource(), QtSound::BuiltinClip("beep-loop")) << bad.toStdString();
        EXPECT_GT(sink.Peak(1200), 5000) << bad.toStdString();
        sound.Stop();
    }

    // With a device the beep is a clip, not the bell.
    sound.Beep();
    EXPECT_EQ(sound.BellCount(), 0);
    EXPECT_GT(sink.Peak(400), 5000);
}
