#include "core/app/CDataSafety.h"
#include "core/app/Globals.h"
#include "core/options/CAutostartEntry.h"
#include "core/options/COptionsValues.h"
#include "core/platform/Clock.h"
#include "core/platform/ProgramFolder.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CSideConfig.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const COleDateTime kNow(2026, 12, 7, 10, 0, 0);

TEST(OptionsCopyTest, AlarmAndMailValuesShowAndComeBackInTheirUnits) {
    CSettings s;
    CHolidayTable h;
    s.m_checkPeriod = 7000;
    s.m_stopAfter = 0;
    s.m_mailInterval = 90;
    COptionsValues v = COptionsValues::From(s, h);
    EXPECT_EQ(v.checkSeconds, 7);
    EXPECT_FALSE(v.stopAfterOn);
    EXPECT_EQ(v.stopAfterSeconds, 60);
    EXPECT_TRUE(v.mailAutoCheck);
    EXPECT_EQ(v.mailHours, 1);
    EXPECT_EQ(v.mailMinutes, 30);

    v.checkSeconds = 9;
    v.stopAfterOn = true; // ticked, seconds left as shown
    COptionsValues::Effects e = v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_checkPeriod, 9000);
    EXPECT_EQ(s.m_stopAfter, 60);
    EXPECT_EQ(s.m_mailInterval, 90);
    EXPECT_TRUE(e.mailCountdownSet);
    EXPECT_EQ(e.mailCountdownMs, 90 * 60000);
    EXPECT_EQ(s.m_lastMailCheck, kNow);

    s.m_mailInterval = 0;
    v = COptionsValues::From(s, h);
    EXPECT_FALSE(v.mailAutoCheck);
    EXPECT_EQ(v.mailHours * 100 + v.mailMinutes, 100);
    v.mailAutoCheck = true; // ticked with 0 hours 0 minutes: off
    v.mailHours = v.mailMinutes = 0;
    e = v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_mailInterval, 0);
    EXPECT_FALSE(e.mailCountdownSet);
    v.stopAfterOn = false;
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_stopAfter, 0);
}

TEST(OptionsCopyTest, WaveFileWithoutAFileRingsTheSpeaker) {
    CSettings s;
    CHolidayTable h;
    COptionsValues v = COptionsValues::From(s, h);
    v.alarmSound = CSettings::SoundWave;
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_alarmSound, CSettings::SoundSpeaker);
    v.wavePath = "/tmp/bell.wav";
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_alarmSound, CSettings::SoundWave);
    v.alarmSound = CSettings::SoundMute;
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_alarmSound, CSettings::SoundMute);
    EXPECT_EQ(s.m_wavePath, "/tmp/bell.wav") << "the file stays chosen for later";
}

TEST(OptionsCopyTest, SchemesDefaultSchemeAndHolidays) {
    CSettings s;
    CHolidayTable h;
    s.m_defaultScheme = 7; // damaged file: the list still shows a scheme
    COptionsValues v = COptionsValues::From(s, h);
    EXPECT_EQ(v.selectedScheme, 3);
    v.selectedScheme = 2;
    v.schemeBack[0] = 0x123456;
    v.schemeBorder[0] = 0;
    v.schemeFont[0].lfFaceName = "DejaVu Serif";
    v.holidayFlags[5] = 0;
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_defaultScheme, 2);
    EXPECT_EQ(s.m_schemeBack[0], 0x123456u);
    EXPECT_EQ(s.m_schemeBorder[0], 0);
    EXPECT_EQ(s.m_schemeFont[0].lfFaceName, "DejaVu Serif");
    EXPECT_EQ(h.entries[5].enabled, 0);
    EXPECT_EQ(h.entries[6].enabled, 1);

    v.ResetSchemes();
    const CSettings fresh;
    EXPECT_EQ(v.schemeBack[0], fresh.m_schemeBack[0]);
    EXPECT_EQ(v.schemeBorder[0], 2);
    EXPECT_EQ(v.schemeFont[0], fresh.m_schemeFont[0]);
    EXPECT_EQ(v.selectedScheme, 2) << "Reset leaves the selection";
}

TEST(OptionsCopyTest, WeatherPlaceAndUnitMakeTheReportStale) {
    CSettings s;
    CHolidayTable h;
    s.m_weatherEnabled = 1;
    s.m_weather.m_city = "Paris";
    s.m_weather.m_country = "France";
    s.m_weather.m_place = "Paris, Ile-de-France"; // as the service reported it
    s.m_weather.m_dayName[0] = "Monday";
    COptionsValues v = COptionsValues::From(s, h);
    COptionsValues::Effects e = v.ApplyTo(s, h, kNow);
    EXPECT_FALSE(e.weatherPlaceChanged);
    EXPECT_EQ(s.m_weather.m_dayName[0], "Monday");
    EXPECT_EQ(s.m_weather.m_place, "Paris, Ile-de-France");

    v.centigrade = !v.centigrade; // the stored numbers are in the other unit now
    e = v.ApplyTo(s, h, kNow);
    EXPECT_TRUE(e.weatherPlaceChanged);
    EXPECT_EQ(s.m_weather.m_dayName[0], "");
    EXPECT_EQ(s.m_weather.m_fahrenheit, 0);

    s.m_weather.m_dayName[0] = "Monday";
    v.zipCode = "10001";
    e = v.ApplyTo(s, h, kNow);
    EXPECT_TRUE(e.weatherPlaceChanged);
    EXPECT_EQ(s.m_weather.m_dayName[0], "");
    EXPECT_EQ(s.m_weather.m_place, "10001");
    v.zipCode.clear();
    v.state = "IDF";
    v.ApplyTo(s, h, kNow);
    EXPECT_EQ(s.m_weather.m_place, "Paris IDF, France");

    // Weather off: the place is not taken over.
    v.weatherEnabled = false;
    v.city = "Lyon";
    e = v.ApplyTo(s, h, kNow);
    EXPECT_FALSE(e.weatherPlaceChanged);
    EXPECT_EQ(s.m_weatherEnabled, 0);
    EXPECT_EQ(s.m_weather.m_city, "Paris");
    v.weatherEnabled = true; // switched on again: the first fetch is due soon
    EXPECT_TRUE(v.ApplyTo(s, h, kNow).weatherPlaceChanged);
}

// ---------------------------------------------------------------- the session around the sheet

struct ScriptedOptions : IOptionsService {
    std::function<Result(COptionsValues&)> script;
    int stateSeen = 0;
    CTrayCore* core = nullptr;
    std::map<int, int> timersSeen;
    FakeTimers* timers = nullptr;
    Result OpenOptions(COptionsValues& v) override {
        stateSeen = core->State();
        timersSeen = timers->active;
        return script(v);
    }
};

class OptionsSessionTest : public ::testing::Test {
protected:
    OptionsSessionTest() {
        setenv("XDG_CONFIG_HOME", (env.Dir() + "/config").c_str(), 1);
        sheet.core = &core;
        sheet.timers = &platform.timers;
        HubServices services = platform.services.Hub();
        services.options = &sheet;
        core.SetServices(services);
        Clock::SetForTest(kNow);
        core.StartTimers();
        g_timeDialogCount = 0;
    }
    ~OptionsSessionTest() override { unsetenv("XDG_CONFIG_HOME"); }

    std::string Folder() const { return ProgramFolder(); }
    std::string SidePath() const { return Folder() + CSideConfig::kFileName; }

    TestEnv env;
    FakePlatform platform;
    FakeHub core{platform};
    ScriptedOptions sheet;
};

TEST_F(OptionsSessionTest, OkCopiesBackSavesAndRestartsTheTimersWithTheNewPeriod) {
    core.NewNote();
    core.Store().notes()[0]->m_showCountdown = 1;
    sheet.script = [](COptionsValues& v) {
        v.checkSeconds = 12;
        v.selectedScheme = 2;
        v.mailAutoCheck = true;
        v.mailHours = 0;
        v.mailMinutes = 5;
        v.backupKeep = 3;
        return IOptionsService::Result{true, false};
    };
    core.OpenOptions();
    EXPECT_EQ(sheet.stateSeen, CTrayCore::StateOptionsOpen);
    EXPECT_TRUE(sheet.timersSeen.empty()) << "no alarm check runs while the sheet is open";
    EXPECT_EQ(core.State(), CTrayCore::StateIdle);
    EXPECT_EQ(platform.timers.active[CTrayCore::TimerCheck], 12000);
    EXPECT_EQ(core.settings().m_defaultScheme, 2);
    EXPECT_EQ(core.countdowns().mail, 5 * 60000);
    EXPECT_TRUE(CAtomicFile::Exists(core.DataPath())) << "OK saves the data";
    EXPECT_EQ(platform.windows.windows[0]->countdownUpdates, 1);
    CSideConfig side;
    ASSERT_TRUE(side.Load(SidePath()));
    EXPECT_EQ(side.Get("backup_keep", ""), "3");
    EXPECT_EQ(core.Side().backupKeep, 3) << "the program's copy follows the options";
}

TEST_F(OptionsSessionTest, CancelChangesNothingButKeepsAccountChanges) {
    const CSettings before = core.settings();
    sheet.script = [](COptionsValues& v) {
        v.checkSeconds = 200;
        v.schemeBack[1] = 0x010203;
        v.backupKeep = 2;
        v.autostart = true;
        return IOptionsService::Result{};
    };
    core.OpenOptions();
    EXPECT_EQ(core.settings().m_checkPeriod, before.m_checkPeriod);
    EXPECT_EQ(core.settings().m_schemeBack[1], before.m_schemeBack[1]);
    EXPECT_FALSE(CAtomicFile::Exists(core.DataPath())) << "Cancel does not save";
    EXPECT_FALSE(CAtomicFile::Exists(SidePath()));
    EXPECT_FALSE(CAtomicFile::Exists(CAutostartEntry::Path()));
    EXPECT_EQ(platform.timers.active[CTrayCore::TimerCheck], before.m_checkPeriod);

    // An account added in the sheet is kept, so it must reach the file even after Cancel.
    sheet.script = [this](COptionsValues&) {
        core.Store().AddAccount(std::make_unique<CMailAccount>());
        return IOptionsService::Result{false, true};
    };
    core.OpenOptions();
    EXPECT_TRUE(CAtomicFile::Exists(core.DataPath()));
}

TEST_F(OptionsSessionTest, OpensOnlyWhenIdleOrOverTheManager) {
    sheet.script = [](COptionsValues&) { return IOptionsService::Result{true, false}; };
    core.SetState(CTrayCore::StateRinging);
    core.OpenOptions();
    EXPECT_EQ(sheet.stateSeen, 0);

    core.SetState(CTrayCore::StateManagerOpen);
    core.StopTimers(); // as the manager does
    core.OpenOptions();
    EXPECT_EQ(sheet.stateSeen, CTrayCore::StateOptionsOpen);
    EXPECT_EQ(core.State(), CTrayCore::StateManagerOpen);
    EXPECT_TRUE(platform.timers.active.empty()) << "the manager restarts them when it closes";
}

TEST_F(OptionsSessionTest, AReminderDueWhileTheSheetWasOpenRingsAsItCloses) {
    CNote& due =
        NoteBuilder().At(kNow + COleDateTimeSpan(0, 0, 1, 0)).DueSoonNow().AddTo(core.Store());
    sheet.script = [](COptionsValues&) {
        Clock::AdvanceForTest(120);
        return IOptionsService::Result{false, false};
    };
    core.OpenOptions();
    ASSERT_NE(due.Window(), nullptr);
    EXPECT_TRUE(due.Window()->IsRinging());
    EXPECT_EQ(core.State(), CTrayCore::StateRinging);
}

TEST_F(OptionsSessionTest, ClockSyncNeedsTheRightAndStartsSoonWhenTurnedOn) {
    core.countdowns().clockSync = 999999;
    bool shownOn = true;
    sheet.script = [&](COptionsValues& v) {
        shownOn = v.clockSync;
        v.clockSync = true;
        return IOptionsService::Result{true, false};
    };
    core.settings().m_clockSync = 1; // from a file written where the clock could be set
    platform.services.canSetClock = false;
    core.OpenOptions();
    EXPECT_FALSE(shownOn);
    platform.services.canSetClock = true;
    core.settings().m_clockSync = 0;
    core.OpenOptions();
    EXPECT_EQ(core.settings().m_clockSync, 1);
    EXPECT_EQ(core.countdowns().clockSync, CTrayCore::kFirstCheckMs);
}

TEST_F(OptionsSessionTest, AnUnreadableSideFileIsNotWrittenOver) {
    fs::create_directories(Folder());
    fs::create_symlink(CSideConfig::kFileName, SidePath()); // a loop: there, but unreadable
    sheet.script = [](COptionsValues& v) {
        v.desktopNotifications = false;
        return IOptionsService::Result{true, false};
    };
    core.OpenOptions();
    EXPECT_TRUE(fs::is_symlink(SidePath()));
    ASSERT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_NE(platform.dialogs.boxes[0].text.find("could not be read"), std::string::npos)
        << platform.dialogs.boxes[0].text;
}

// Ticking and unticking the box through the sheet is driven end to end by the options script.
TEST_F(OptionsSessionTest, AutostartEntryQuotesThePathAndHonoursTheDesktopsSwitch) {
    const std::string path = env.Dir() + "/config/autostart/jotterly.desktop";
    ASSERT_EQ(CAutostartEntry::Path(), path);
    std::string text;
    // A path the launcher would split or expand is quoted and escaped.
    ASSERT_TRUE(CAutostartEntry::Write("/opt/my apps/jot$ter%ly\\x", nullptr));
    ASSERT_TRUE(CAtomicFile::ReadAll(path, text, nullptr));
    EXPECT_NE(text.find("\nExec=\"/opt/my apps/jot\\\\$ter%%ly\\\\\\\\x\"\n"), std::string::npos)
        << text;
    EXPECT_EQ(std::system(("desktop-file-validate '" + path + "'").c_str()), 0);
    EXPECT_FALSE(CAutostartEntry::Write("/opt/a\nb", nullptr));

    // Switched off in the desktop's own settings: shown unticked, and left alone.
    std::ofstream(path, std::ios::app) << "Hidden=true\n";
    EXPECT_FALSE(CAutostartEntry::Enabled());
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    EXPECT_EQ(CAutostartEntry::Path().rfind(std::string(std::getenv("HOME")) + "/.config/", 0), 0u);
}

TEST_F(OptionsSessionTest, PurgeEmptiesTheLogAndLaterLinesStillArrive) {
    core.settings().m_logEnabled = 1;
    core.Alarms().OpenLogFile(Folder());
    core.Alarms().WriteLogText("first\n");
    const std::string log = Folder() + "Log.txt";
    EXPECT_EQ(fs::file_size(log), 6u);
    ASSERT_TRUE(core.Alarms().PurgeLog());
    EXPECT_EQ(fs::file_size(log), 0u);
    core.Alarms().WriteLogText("second\n");
    EXPECT_EQ(fs::file_size(log), 7u);
}

TEST_F(OptionsSessionTest, BackupsKeptFollowTheSideSetting) {
    fs::create_directories(Folder());
    CSideConfig side;
    side.Set("backup_keep", "2");
    ASSERT_TRUE(side.Save(SidePath()));
    for (int day = 0; day < 4; ++day) {
        Clock::SetForTest(kNow + COleDateTimeSpan(day, 0, 0, 0));
        ASSERT_TRUE(core.SaveData());
    }
    int copies = 0;
    for (const auto& e : fs::directory_iterator(Folder() + "backups"))
        copies += e.path().filename().string().rfind("Note-", 0) == 0;
    EXPECT_EQ(copies, 2);
}

} // namespace
