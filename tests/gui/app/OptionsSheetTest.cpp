#include "core/alarms/RingingCount.h"
#include "core/app/Globals.h"
#include "core/mail/CMailAccountRules.h"
#include "core/options/COptionsValues.h"
#include "core/platform/Clock.h"
#include "core/platform/ProgramFolder.h"
#include "core/platform/SystemMetrics.h"
#include "gui/options/CAlarmPage.h"
#include "gui/options/CEmailPage.h"
#include "gui/options/CHolidayPage.h"
#include "gui/options/CNotePage.h"
#include "gui/options/COptionsService.h"
#include "gui/options/COptionsSheet.h"
#include "gui/options/COtherPage.h"
#include "gui/options/CSchemeSample.h"
#include "gui/platform/SystemColors.h"
#include "gui/support/GuiInput.h"
#include "gui/support/ImageCompare.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
using GuiInput::Click;

// Palette colours carry more precision than a pixel keeps.
bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
           std::abs(a.blue() - b.blue()) <= 1;
}

class OptionsSheetTest : public ::testing::Test {
protected:
    OptionsSheetTest() { platform.sound.device = true; }

    void Open() {
        values = COptionsValues::From(core.settings(), core.Holidays());
        values.clockStatus = [] { return std::string("This computer's clock is 2 min 3 s fast."); };
        sheet = std::make_unique<COptionsSheet>(nullptr, values, core, platform.dialogs,
                                                platform.sound);
        sheet->show();
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }
    template <class W> W* Find(const char* name) const {
        W* w = sheet->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void ShowPage(int index) {
        QTabBar* bar = sheet->Tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    static void TypeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    bool Told(const std::string& text) const {
        for (const FakeDialogs::Box& b : platform.dialogs.boxes)
            if (b.text == text) return true;
        return false;
    }

    TestEnv env;
    FakePlatform platform;
    FakeHub core{platform};
    COptionsValues values;
    std::unique_ptr<COptionsSheet> sheet;
};

TEST_F(OptionsSheetTest, WaveFileBrowsePreviewAndItsEndWithTheSheet) {
    Open();
    auto* wave = Find<QRadioButton>("waveFile");
    auto* browse = Find<QPushButton>("browse");
    auto* play = Find<QPushButton>("play");
    EXPECT_FALSE(browse->isEnabled());
    Click(wave);
    EXPECT_TRUE(browse->isEnabled());
    EXPECT_FALSE(play->isEnabled()) << "nothing to play yet";

    platform.dialogs.files.push_back(std::string("/music/bell.wav"));
    Click(browse);
    EXPECT_EQ(Find<QLabel>("wavePath")->text(), QStringLiteral("/music/bell.wav"));
    ASSERT_TRUE(play->isEnabled());
    Click(play);
    EXPECT_EQ(play->text(), QStringLiteral("Stop"));
    EXPECT_EQ(platform.sound.lastWave, "/music/bell.wav");
    EXPECT_TRUE(platform.sound.looping);
    Click(Find<QRadioButton>("mute"));
    EXPECT_EQ(play->text(), QStringLiteral("Play"));
    EXPECT_FALSE(platform.sound.looping);
    EXPECT_FALSE(play->isEnabled());

    // While a note rings its loop stays: the preview plays once beside it.
    platform.sound.PlayWaveLoop("/sounds/ringing.wav");
    g_ringingCount = 1;
    Click(wave);
    Click(play);
    Click(play);
    g_ringingCount = 0;
    EXPECT_EQ(platform.sound.oncePlayed.back(), "/music/bell.wav");
    EXPECT_TRUE(platform.sound.looping);
    EXPECT_EQ(platform.sound.lastWave, "/sounds/ringing.wav");

    Click(play);
    ASSERT_TRUE(sheet->AlarmPage()->PreviewPlaying());
    Click(sheet->CancelButton());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(platform.sound.looping) << "the preview ends with the sheet";

    platform.sound.device = false; // no output: the wave file is not offered
    Open();
    EXPECT_FALSE(Find<QRadioButton>("waveFile")->isEnabled());
    EXPECT_TRUE(Find<QLabel>("wavePath")->text().startsWith("No sound device"))
        << "greyed, and why";
}

TEST_F(OptionsSheetTest, RefusedNumbersKeepTheSheetAndThePageOpen) {
    core.Store().AddAccount(std::make_unique<CMailAccount>());
    Open();
    auto* period = Find<QLineEdit>("checkPeriod");
    auto* stopSeconds = Find<QLineEdit>("stopSeconds");
    EXPECT_EQ(period->text(), QStringLiteral("5"));
    EXPECT_FALSE(stopSeconds->isEnabled());
    EXPECT_EQ(stopSeconds->text(), QStringLiteral("60"));

    TypeInto(period, QStringLiteral("301"));
    Click(sheet->OkButton());
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(Told("Please enter an integer between 1 and 300."));
    EXPECT_EQ(QApplication::focusWidget(), period);
    ShowPage(COptionsSheet::Note);
    EXPECT_EQ(sheet->Tabs()->currentIndex(), COptionsSheet::Alarm);
    EXPECT_EQ(platform.dialogs.boxes.size(), 2u);

    TypeInto(period, QStringLiteral("7"));
    Click(Find<QCheckBox>("stopAfter"));
    EXPECT_TRUE(stopSeconds->isEnabled());
    ShowPage(COptionsSheet::Email);
    Click(Find<QCheckBox>("autoCheck"));
    TypeInto(Find<QLineEdit>("hours"), QStringLiteral("24"));
    Click(sheet->OkButton());
    EXPECT_TRUE(Told("Please enter an integer between 0 and 23."));
    TypeInto(Find<QLineEdit>("hours"), QStringLiteral("2"));
    Click(sheet->OkButton());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(values.checkSeconds, 7);
    EXPECT_TRUE(values.stopAfterOn);
    EXPECT_EQ(values.stopAfterSeconds, 60);
    EXPECT_EQ(values.alarmSound, CSettings::SoundSpeaker);
}

TEST_F(OptionsSheetTest, SchemesFontsColoursAndTheSampleOfEachBorder) {
    Open();
    ShowPage(COptionsSheet::Note);
    ImageCompare::ExpectReference(
        ImageCompare::Keep(sheet->grab().toImage(), "options", QStringLiteral("page-note")),
        sheet.get(), QStringLiteral("options"), QStringLiteral("note-page"));
    auto* scheme = Find<QComboBox>("scheme");
    auto* border = Find<QComboBox>("border");
    CSchemeSample* sample = sheet->NotePage()->Sample();
    EXPECT_EQ(scheme->currentText(), QStringLiteral("Scheme 2"));
    scheme->setFocus();
    QTest::keyClick(scheme, Qt::Key_Down);
    EXPECT_EQ(scheme->currentText(), QStringLiteral("Scheme 3"));
    EXPECT_EQ(border->currentText(), QStringLiteral("Emboss"));

    const QColor light = SystemColors::Get(COLOR_3DLIGHT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW);
    const int e = SystemMetrics::SM_CXEDGE;
    const char* const names[] = {"default", "emboss", "glow"};
    border->setFocus();
    QTest::keyClick(border, Qt::Key_Home);
    for (int style = 0; style < 3; ++style) {
        if (style > 0) QTest::keyClick(border, Qt::Key_Down);
        EXPECT_EQ(values.schemeBorder[2], style);
        const QImage img = ImageCompare::Keep(sample->grab().toImage(), "options",
                                              QStringLiteral("sample-%1").arg(names[style]));
        const QColor outer = img.pixelColor(e, e + 6), inner = img.pixelColor(e + 3, e + 8);
        EXPECT_EQ(img.pixelColor(img.width() / 2, e + 12), QColor(0xD8, 0xD8, 0xD8)) << style;
        if (style == 2) {
            EXPECT_FALSE(Near(outer, light)) << "the glow is drawn in shades of the back colour";
            EXPECT_FALSE(Near(outer, QColor(0xD8, 0xD8, 0xD8)));
        } else {
            EXPECT_TRUE(Near(outer, light)) << style;
            EXPECT_TRUE(Near(inner, style == 1 ? dark : QColor(0xD8, 0xD8, 0xD8))) << style;
        }
    }

    sheet->NotePage()->SetColorPicker([](QWidget*, COLORREF) { return RGB(0, 160, 0); });
    Click(Find<QPushButton>("background"));
    EXPECT_EQ(values.schemeBack[2], RGB(0, 160, 0));
    EXPECT_EQ(sample->grab().toImage().pixelColor(12, 12), QColor(0, 160, 0));

    LOGFONT big = DefaultSchemeFont();
    big.lfHeight = -70;
    sheet->NotePage()->SetFontPicker([&](QWidget*, const LOGFONT&) { return big; });
    Click(Find<QPushButton>("font"));
    EXPECT_TRUE(Told("Font is too big !"));
    EXPECT_EQ(values.schemeFont[2], DefaultSchemeFont());
    big.lfHeight = -20;
    big.lfItalic = 1;
    big.lfWeight = 700;
    big.lfFaceName = "DejaVu Serif";
    Click(Find<QPushButton>("font"));
    EXPECT_EQ(Find<QLabel>("fontName")->text(), QStringLiteral("DejaVu Serif Italic Bold"));

    // Reset brings the start values back, and the border box shows what OK will keep.
    Click(Find<QPushButton>("reset"));
    EXPECT_EQ(values.schemeBack[2], 0xD8D8D8u);
    EXPECT_EQ(border->currentText(), QStringLiteral("Emboss"));
    EXPECT_EQ(Find<QLabel>("fontName")->text(), QStringLiteral("Arial"));
}

// Nothing rings while the sheet is open: a reminder falling due meanwhile is told by a desktop
// notice at once, taken back as the sheet closes (and the note rings, as the core checks).
TEST_F(OptionsSheetTest, AReminderDueWhileOpenIsToldByANotice) {
    COptionsService service(core, platform.dialogs, platform.sound);
    HubServices hub = platform.services.Hub();
    hub.options = &service;
    core.SetServices(hub);
    RecordingNotices notices;
    PlatformServices services = platform.Services();
    services.notices = &notices;
    core.SetPlatform(services);
    const COleDateTime now = Clock::Now();
    NoteBuilder()
        .Title("Dentist")
        .At(now + COleDateTimeSpan(0, 0, 1, 0))
        .DueSoonNow()
        .AddTo(core.Store());
    std::vector<std::string> shownWhileOpen;
    QTimer::singleShot(0, [&] {
        Clock::AdvanceForTest(90);
        QTest::qWait(1500); // a tick of the sheet's watch
        shownWhileOpen = notices.shown;
        auto* s = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(s, nullptr);
        Click(s->CancelButton());
    });
    core.OpenOptions();
    EXPECT_EQ(shownWhileOpen, std::vector<std::string>{"Reminder due: Dentist"});
    EXPECT_EQ(notices.withdrawn, std::vector<unsigned>{1});
    Clock::ResetForTest();
}

// Purge empties the log at once: Cancel cannot bring it back. What OK and Cancel do with the
// values is the options session's.
TEST_F(OptionsSheetTest, PurgeIsNotUndoneByCancel) {
    core.settings().m_logEnabled = 1;
    core.Alarms().OpenLogFile(ProgramFolder());
    core.Alarms().WriteLogText("Monday 2026-12-07 09:00:00 Dentist\n");
    const std::string log = ProgramFolder() + "Log.txt";
    ASSERT_GT(std::filesystem::file_size(log), 0u);
    Open();
    ShowPage(COptionsSheet::Note);
    Click(Find<QPushButton>("purgeLog"));
    Click(sheet->CancelButton());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(std::filesystem::file_size(log), 0u);
}

TEST_F(OptionsSheetTest, AccountsChangeAtOnceThroughTheEditor) {
    Open();
    ShowPage(COptionsSheet::Email);
    auto* list = Find<QListWidget>("accounts");
    auto* autoCheck = Find<QCheckBox>("autoCheck");
    EXPECT_FALSE(autoCheck->isEnabled());
    EXPECT_EQ(Find<QLineEdit>("hours")->text(), QStringLiteral("1"));
    EXPECT_FALSE(Find<QPushButton>("add")->isEnabled()) << "no account dialog, no adding";

    std::string name = "Work";
    int type = CMailAccount::Pop3;
    bool answer = true;
    sheet->EmailPage()->SetAccountEditor([&](QWidget*, CMailAccount& a) {
        a.m_name = name;
        a.m_type = type;
        a.m_server = "pop.example.org";
        return answer;
    });
    Click(Find<QPushButton>("add"));
    ASSERT_EQ(core.Store().accounts().size(), 1u);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Work (Pop3)"));
    EXPECT_TRUE(autoCheck->isEnabled());
    answer = false;
    name = "Ignored";
    Click(Find<QPushButton>("add"));
    Click(Find<QPushButton>("edit"));
    EXPECT_EQ(core.Store().accounts().size(), 1u);
    EXPECT_EQ(core.Store().accounts()[0]->m_name, "Work");
    answer = true;
    name = "Web";
    type = CMailAccount::WebMail;
    Click(Find<QPushButton>("edit"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Web (Hotmail)"));
    EXPECT_EQ(core.Store().accounts()[0]->m_type, CMailAccount::WebMail);

    platform.dialogs.answers = {IDialogs::AnswerNo, IDialogs::AnswerYes};
    Click(Find<QPushButton>("remove"));
    EXPECT_EQ(core.Store().accounts().size(), 1u);
    Click(autoCheck);
    Click(Find<QPushButton>("remove"));
    EXPECT_TRUE(core.Store().accounts().empty());
    EXPECT_FALSE(autoCheck->isChecked());
    EXPECT_FALSE(autoCheck->isEnabled());
    EXPECT_TRUE(sheet->AccountsChanged());

    for (std::size_t i = 0; i < CMailAccountRules::kMaxAccounts; ++i)
        core.Store().AddAccount(std::make_unique<CMailAccount>());
    Click(Find<QPushButton>("add"));
    EXPECT_EQ(core.Store().accounts().size(), 24u);
    EXPECT_TRUE(Told("You cannot establish more than 24 accounts !"));

    // A stored interval longer than the boxes take is not cut without a word.
    core.settings().m_mailInterval = 30 * 60 + 5;
    Open();
    ShowPage(COptionsSheet::Email);
    EXPECT_EQ(Find<QLineEdit>("hours")->text(), QStringLiteral("23"));
    EXPECT_EQ(Find<QLabel>("intervalCut")->text(),
              QStringLiteral("Stored: 30 h 5 min; OK keeps 23 h 59 min."));
    ImageCompare::Grab(sheet.get(), "options", "email-interval-cut");

    platform.services.mailRunning =
        true; // a running check reads the accounts: the page keeps its hands off
    Open();
    EXPECT_FALSE(Find<QPushButton>("remove")->isEnabled());
    EXPECT_FALSE(Find<QListWidget>("accounts")->isEnabled());
}

TEST_F(OptionsSheetTest, HolidayMarksAndTheOtherPage) {
    core.settings().m_clockSync = 1;
    Open();
    ShowPage(COptionsSheet::Holidays);
    QTableWidget* list = sheet->HolidayPage()->List();
    ASSERT_EQ(list->rowCount(), 28);
    EXPECT_EQ(list->item(5, 0)->text(), QStringLiteral("Washington's Birthday"));
    // A rule cut short in its column can be read whole in its tip.
    for (int row = 0; row < list->rowCount(); ++row)
        for (int col : {0, 1})
            if (list->fontMetrics().horizontalAdvance(list->item(row, col)->text()) >
                list->columnWidth(col) - 8) {
                EXPECT_EQ(list->item(row, col)->toolTip(), list->item(row, col)->text());
            }
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(5, 0)).center());
    EXPECT_EQ(list->item(5, 0)->checkState(), Qt::Checked) << "a click on the name selects";
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->item(5, 0)->checkState(), Qt::Unchecked);

    ShowPage(COptionsSheet::Other);
    auto* clock = Find<QCheckBox>("clockSync");
    EXPECT_FALSE(clock->isChecked()) << "the clock cannot be set from here";
    EXPECT_FALSE(clock->isEnabled());
    // The measured offset, and who should set the clock when this program may not.
    auto* note = Find<QLabel>("clockNote");
    EXPECT_TRUE(QTest::qWaitFor([note] { return note->text().contains("2 min 3 s fast"); }, 2000))
        << note->text().toStdString();
    EXPECT_TRUE(note->text().contains("desktop's own time service")) << note->text().toStdString();
    EXPECT_TRUE(note->isVisible());
    auto* country = Find<QLineEdit>("country");
    auto* zip = Find<QLineEdit>("zipCode");
    EXPECT_FALSE(country->isVisible());
    Click(Find<QCheckBox>("weather"));
    EXPECT_TRUE(country->isVisible());
    // No classic weather server is set: that choice is greyed, and a line says why.
    auto* source = Find<QComboBox>("weatherSource");
    auto* items = qobject_cast<QStandardItemModel*>(source->model());
    ASSERT_NE(items, nullptr);
    EXPECT_FALSE(items->item(1)->isEnabled());
    EXPECT_TRUE(Find<QLabel>("weatherSourceNote")->isVisible());
    EXPECT_FALSE(zip->isVisible());
    Click(Find<QRadioButton>("usa"));
    EXPECT_TRUE(zip->isVisible());
    EXPECT_FALSE(country->isVisible());
    TypeInto(zip, QStringLiteral(" 10001 "));
    Click(Find<QCheckBox>("centigrade"));
    Click(Find<QCheckBox>("autostart"));
    Click(Find<QCheckBox>("notifications"));
    auto* keep = Find<QSpinBox>("backupKeep");
    EXPECT_EQ(keep->value(), 7);
    keep->setFocus();
    QTest::keyClick(keep, Qt::Key_Up);
    TypeInto(Find<QLineEdit>("syncFolder"), QStringLiteral(" /home/me/Notes sync "));
    Click(sheet->OkButton());
    EXPECT_EQ(values.holidayFlags[5], 0);
    EXPECT_EQ(values.holidayFlags[4], 1);
    EXPECT_FALSE(values.clockSync);
    EXPECT_TRUE(values.weatherEnabled);
    EXPECT_EQ(values.zipCode, "10001");
    EXPECT_TRUE(values.centigrade);
    EXPECT_TRUE(values.autostart);
    EXPECT_FALSE(values.desktopNotifications);
    EXPECT_EQ(values.backupKeep, 8);
    EXPECT_EQ(values.syncFolder, "/home/me/Notes sync");
}

} // namespace
