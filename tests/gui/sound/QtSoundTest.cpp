// The sound layer against a real audio server. The audio back end binds to its server once per
// process, so each case runs in a child process of this program with its own PULSE_SERVER; the
// parent starts and stops the server.
#include "gui/platform/QtSound.h"
#include "gui/platform/CLazySound.h"
#include "gui/platform/ResourceImages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const QString kWav = QStringLiteral(JOTTERLY_SOURCE_DIR "/resources/sounds/beep-loop.wav");

// Runs the case SoundChild.DISABLED_<test> in a fresh process; true when it ran and passed.
bool RunChild(const QString& test, const QString& server, QString& output) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", server);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=SoundChild.DISABLED_" + test});
    bool finished = child.waitForFinished(60000);
    if (!finished) child.kill();
    child.waitForFinished();
    output = QString::fromLocal8Bit(child.readAll());
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
           output.contains("[  PASSED  ] 1 test");
}

// The loudest sample on the null sink's monitor over the next ms milliseconds. It listens for
// the whole case: a recorder started per check would lose its start to connecting.
class SinkMonitor {
public:
    bool Start() {
        m_rec.start("parec", QString("--device=jotterly_null.monitor --raw --format=s16le "
                                     "--channels=1 --rate=22050 --latency-msec=20")
                                 .split(' '));
        QElapsedTimer t;
        for (t.start(); t.elapsed() < 5000;)
            if (m_rec.waitForReadyRead(50)) return true; // samples flow
        return false;
    }
    ~SinkMonitor() {
        m_rec.kill();
        m_rec.waitForFinished();
    }
    int Peak(int ms) {
        m_rec.readAllStandardOutput(); // what came before does not count
        QByteArray data;
        QElapsedTimer t;
        for (t.start(); t.elapsed() < ms;) {
            m_rec.waitForReadyRead(20);
            data += m_rec.readAllStandardOutput();
            QCoreApplication::processEvents();
        }
        return PeakOf(data);
    }
    static int PeakOf(const QByteArray& data) {
        int peak = 0;
        for (int i = 0; i + 1 < data.size(); i += 2)
            peak = std::max(peak,
                            std::abs(int(int16_t(uint8_t(data[i]) | uint8_t(data[i + 1]) << 8))));
        return peak;
    }

private:
    QProcess m_rec;
};

} // namespace

TEST(QtSound, WithoutADeviceTheBellRingsAndNothingLoops) {
    QString output;
    EXPECT_TRUE(RunChild("NoDevice", "unix:/nonexistent/jotterly", output)) << output.toStdString();
}

TEST(QtSound, OnANullSinkAWaveThatCannotPlayLoopsTheBuiltInBeep) {
    QString server = QStandardPaths::findExecutable("pulseaudio");
    if (server.isEmpty() || QStandardPaths::findExecutable("parec").isEmpty())
        GTEST_SKIP() << "no PulseAudio here (pulseaudio and parec); the null-sink case needs it";
    QTemporaryDir dir;
    const QString socket = dir.filePath("native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        env.insert(var, dir.path());
    QProcess pulse;
    pulse.setProcessEnvironment(env);
    pulse.setProcessChannelMode(QProcess::MergedChannels);
    pulse.start(server,
                QString("-n --daemonize=no --exit-idle-time=-1 --use-pid-file=no "
                        "--disable-shm=yes")
                        .split(' ')
                    << "--load=module-null-sink sink_name=jotterly_null"
                    << "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket);
    ASSERT_TRUE(pulse.waitForStarted(5000));
    for (int i = 0; i < 200 && !QFile::exists(socket); ++i)
        QTest::qWait(50);
    QString output;
    const bool passed = QFile::exists(socket) && RunChild("NullSink", "unix:" + socket, output);
    pulse.terminate(); // this PID only
    if (!pulse.waitForFinished(5000)) pulse.kill();
    pulse.waitForFinished();
    EXPECT_TRUE(passed) << output.toStdString() << pulse.readAll().toStdString();
}

TEST(SoundChild, DISABLED_NoDevice) {
    ResourceImages::Init();
    QtSound sound;
    EXPECT_FALSE(sound.HasAudioDevice());
    sound.Beep();
    sound.Beep();
    EXPECT_EQ(sound.BellCount(), 2);
    sound.PlayWaveLoop(kWav.toStdString());
    EXPECT_FALSE(sound.IsLooping());
    sound.PlayResource(242);
    sound.StopOnce();
    sound.StopLoop();
}

TEST(SoundChild, DISABLED_NullSink) {
    ResourceImages::Init();
    QtSound sound;
    ASSERT_TRUE(sound.HasAudioDevice());
    SinkMonitor sink;
    ASSERT_TRUE(sink.Start());
    EXPECT_LT(sink.Peak(300), 100); // silence before anything plays

    // A file that is no sound (this source), and one that does not exist: the built-in beep loops.
    for (const QString& bad : {QString(__FILE__), kWav + ".missing"}) {
        sound.PlayWaveLoop(bad.toStdString());
        for (int i = 0; i < 250 && sound.LoopSource() != QtSound::BuiltinClip("beep-loop"); ++i)
            QTest::qWait(20);
        EXPECT_EQ(sound.LoopSource(), QtSound::BuiltinClip("beep-loop")) << bad.toStdString();
        EXPECT_GT(sink.Peak(1200), 5000) << bad.toStdString();
        sound.StopLoop();
    }

    // With a device the beep is a clip, not the bell.
    sound.Beep();
    EXPECT_EQ(sound.BellCount(), 0);
    EXPECT_GT(sink.Peak(400), 5000);
}

// Without its module the program still runs: it says so once, and rings go on without sound.
TEST(LazySound, AMissingModuleIsToldOnce) {
    for (const bool prepared : {true, false}) {
        CLazySound sound({QStringLiteral("/nonexistent")});
        QStringList told;
        sound.SetOnUnavailable([&](const QString& why) { told << why; });
        if (prepared) {
            sound.Prepare();
            QTRY_COMPARE(told.size(), 1);
        }
        EXPECT_FALSE(sound.HasAudioDevice());
        sound.Beep();
        sound.PlayWaveLoop(kWav.toStdString());
        sound.PlayResource(242);
        sound.StopLoop();
        EXPECT_FALSE(sound.IsLoaded());
        ASSERT_EQ(told.size(), 1) << prepared;
        EXPECT_TRUE(told[0].contains(CLazySound::kModuleName)) << told[0].toStdString();
    }
}
