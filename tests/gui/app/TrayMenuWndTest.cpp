#include "core/app/CTrayCore.h"
#include "core/app/TrayIds.h"
#include "core/platform/SystemMetrics.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "support/FakeHub.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <memory>

using namespace TrayId;

namespace {

const QRgb kSelected = qRgb(75, 75, 192);
using namespace Pixels;

class TrayMenuWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Fixed looks, so that the pictures can be compared.
        QApplication::setStyle("Fusion");
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    ~TrayMenuWndTest() override {
        if (menu) menu->hide();
    }
    void AddAccountsAndWeather() {
        for (const char* name : {"Home", "Work", "Club"}) {
            core.Store().AddAccount(std::make_unique<CMailAccount>()).m_name = name;
        }
        core.settings().m_weatherEnabled = 1;
        core.settings().m_weather.m_place = "Springfield, IL";
        const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
        const char* conditions[] = {"Clear", "Partial Cloudy", "Cloudy", "Light rain", "Fog"};
        const int icons[] = {243, 244, 245, 246, 248};
        for (int d = 0; d < 5; ++d) {
            core.settings().m_weather.m_dayName[d] = days[d];
            core.settings().m_weather.m_condition[d] = conditions[d];
            core.settings().m_weather.m_high[d] = 70 + d;
            core.settings().m_weather.m_low[d] = 50 + d;
            core.settings().m_weather.m_icon[d] = icons[d];
        }
    }
    CTrayMenuWnd* Open(QPoint at = QPoint(40, 40)) {
        QFont font("DejaVu Sans");
        font.setPixelSize(12);
        CTrayMenu model;
        CTrayMenuWnd::ApplyFontMetrics(model, font);
        model.Build(core);
        menu = std::make_unique<CTrayMenuWnd>(std::move(model), font);
        QObject::connect(menu.get(), &CTrayMenuWnd::commandChosen,
                         [this](int id) { chosen.push_back(id); });
        menu->Popup(at);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
        return menu.get();
    }
    static QPoint Center(CTrayMenuWnd* w, int data) {
        EXPECT_GE(w->IndexOfData(data), 0) << data;
        return w->ItemRect(w->IndexOfData(data)).center();
    }
    static void MoveTo(CTrayMenuWnd* w, int data) { QTest::mouseMove(w, Center(w, data)); }
    static void ClickOn(CTrayMenuWnd* w, int data, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w, button, {}, Center(w, data));
    }
    // Rests on a submenu item until its submenu opens.
    static CTrayMenuWnd* OpenSubmenuOf(CTrayMenuWnd* w, int data) {
        MoveTo(w, data);
        EXPECT_TRUE(QTest::qWaitFor([w] { return w->Submenu() != nullptr; }, 2000));
        if (w->Submenu()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w->Submenu()));
        }
        return w->Submenu();
    }
    // The root and its open submenus as they lie on the screen, over a desktop colour.
    void ExpectReference(const QString& name) {
        QRect all;
        for (CTrayMenuWnd* w = menu.get(); w; w = w->Submenu())
            all |= QRect(w->pos(), w->size());
        all.adjust(-8, -8, 8, 8);
        QImage picture(all.size(), QImage::Format_RGB32);
        picture.fill(QColor(96, 112, 128)); // a desktop behind the menu
        QPainter p(&picture);
        for (CTrayMenuWnd* w = menu.get(); w; w = w->Submenu())
            p.drawPixmap(w->pos() - all.topLeft(), w->grab());
        p.end();
        ImageCompare::ExpectReference(ImageCompare::Keep(picture, "app", name), 1.0, "app", name);
    }

    FakePlatform platform;
    FakeHub core{platform};
    std::vector<int> chosen; // the commands sent, by every menu of the test
    std::unique_ptr<CTrayMenuWnd> menu;
};

// The separators' etching, the pictures' and texts' places and the sunken selection are all
// in the reference pictures.
TEST_F(TrayMenuWndTest, PlainAndSelectedItemsAreMeasuredAndPaintedAsTheTablesSay) {
    CTrayMenuWnd* m = Open();
    EXPECT_EQ(m->ItemRect(0), QRect(3, 3, m->Model().m_menuItemWidth, 20));
    ExpectReference("tray_menu_plain");
    MoveTo(m, CmdNewNote);
    ASSERT_EQ(m->Selected(), m->IndexOfData(CmdNewNote));
    ExpectReference("tray_menu_selected");
}

// The day lines end in their temperatures and unit: the menu widens for them. A line too long
// for any menu is elided and shows its whole text under the pointer.
TEST_F(TrayMenuWndTest, WeatherLinesShowTheirTemperaturesAndUnit) {
    AddAccountsAndWeather();
    CWeather& weather = core.settings().m_weather;
    weather.m_condition[2] = "Thunderstorms and hail";
    weather.m_place = "Llanfairpwllgwyngyll, Ynys Mon, Wales, United Kingdom of Great Britain";
    CTrayMenuWnd* w = OpenSubmenuOf(Open(), DataWeather);
    ASSERT_NE(w, nullptr);
    const QImage img = w->grab().toImage();
    ASSERT_EQ(img.devicePixelRatio(), 1.0);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    for (int d = 0; d < CWeather::kDays; ++d) {
        const int i = w->IndexOfData(kReportDayData[d]);
        const QString text = QString::fromStdString(weather.FormatDay(d));
        ASSERT_TRUE(text.endsWith(QStringLiteral("\u00B0F")));
        EXPECT_TRUE(w->ElidedItemText(i).isEmpty()) << d;
        // Ink up to where the whole text ends: its unit is drawn, not an ellipsis before it.
        const QRect r = w->ItemRect(i);
        const int end =
            r.left() + CTrayMenu::kTextLeft + QFontMetrics(font).horizontalAdvance(text);
        ASSERT_LE(end, r.right()) << text.toStdString();
        EXPECT_GT(Count(img, QRect(end - 5, r.top(), 5, r.height()), Sys(COLOR_MENU), false), 0)
            << text.toStdString();
    }
    const int place = w->IndexOfData(CmdWeatherPlace);
    EXPECT_EQ(w->ItemRect(place).width(), CTrayMenu::kWeatherMaxItemWidth);
    EXPECT_EQ(w->ElidedItemText(place).toStdString(), weather.m_place);
    QTest::mouseMove(w, w->ItemRect(place).center());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QToolTip::text().toStdString() == weather.m_place; }, 2000));
}

TEST_F(TrayMenuWndTest, WeatherAndThreeAccountsOpenTheirSubmenusAndSendNothing) {
    AddAccountsAndWeather();
    core.StartMailCheck(1, 0); // "Work" is being checked
    CTrayMenuWnd* m = Open();
    CTrayMenuWnd* weather = OpenSubmenuOf(m, DataWeather);
    ASSERT_NE(weather, nullptr); // its place and size are in the reference picture
    // Under the mouse a report line keeps the menu colours; the place line, in the picture,
    // does not.
    MoveTo(weather, 221);
    ASSERT_EQ(weather->Selected(), 3);
    const QImage img = weather->grab().toImage();
    EXPECT_EQ(Count(img, img.rect(), kSelected), 0);
    MoveTo(weather, CmdWeatherPlace);
    EXPECT_EQ(m->Selected(), m->IndexOfData(DataWeather)) << "the header stays selected";
    ExpectReference("tray_menu_weather");

    // On to the mail accounts: the weather closes, the accounts open.
    CTrayMenuWnd* mail = OpenSubmenuOf(m, DataMail);
    ASSERT_NE(mail, nullptr);
    MoveTo(mail, 165);
    ExpectReference("tray_menu_mail");

    // Neither the greyed account nor a report line sends a command.
    ClickOn(mail, 166);
    EXPECT_TRUE(mail->isVisible());
    ClickOn(m, DataWeather);
    ASSERT_NE(m->Submenu(), nullptr);
    ClickOn(m->Submenu(), 222);
    EXPECT_TRUE(chosen.empty());
    EXPECT_FALSE(m->isVisible());
}

TEST_F(TrayMenuWndTest, OnlyALeftClickOnACommandChoosesIt) {
    CTrayMenuWnd* m = Open();
    // The release of the button that opened the menu, and the right button, choose nothing.
    MoveTo(m, CmdExit);
    QTest::mouseRelease(m, Qt::RightButton, {}, Center(m, CmdExit));
    QTest::mouseRelease(m, Qt::LeftButton, {}, Center(m, CmdExit));
    ClickOn(m, CmdExit, Qt::RightButton);
    ClickOn(m, DataMail); // greyed without accounts: opens no empty submenu
    EXPECT_EQ(m->Submenu(), nullptr);
    EXPECT_TRUE(chosen.empty());
    // A press on a submenu item opens it at once; back on the main menu it closes.
    ClickOn(m, DataHelp);
    ASSERT_NE(m->Submenu(), nullptr);
    MoveTo(m, CmdOptions);
    EXPECT_EQ(m->Submenu(), nullptr);
    ClickOn(m, CmdNewNote);
    EXPECT_EQ(chosen, std::vector<int>{CmdNewNote});
    EXPECT_FALSE(m->isVisible());

    m = Open();
    OpenSubmenuOf(m, DataHelp);
    QTest::mouseClick(m, Qt::LeftButton, {}, QPoint(m->width() + 300, m->height() + 50));
    EXPECT_FALSE(m->isVisible()) << "a click outside closes the menu";
    EXPECT_EQ(chosen.size(), 1u);
}

TEST_F(TrayMenuWndTest, KeysMoveOpenChooseAndClose) {
    CTrayMenuWnd* m = Open();
    QTest::keyClick(m, Qt::Key_Down);
    QTest::keyClick(m, Qt::Key_Right);
    ASSERT_NE(m->Submenu(), nullptr);
    QTest::keyClick(m, Qt::Key_Escape); // closes the submenu only
    EXPECT_EQ(m->Submenu(), nullptr);
    // Up from Help wraps to Exit, then skips the separator and the greyed mail item.
    for (int key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Return})
        QTest::keyClick(m, Qt::Key(key));
    EXPECT_EQ(chosen, std::vector<int>{CmdNoteManager});
    EXPECT_FALSE(m->isVisible());
}

TEST_F(TrayMenuWndTest, MenusStayOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // At the bottom right corner, as from a tray in a bottom panel: above and to the left.
    CTrayMenuWnd* m = Open(screen.bottomRight());
    EXPECT_EQ(m->geometry().bottomRight(), screen.bottomRight() - QPoint(1, 1));
    CTrayMenuWnd* help = OpenSubmenuOf(m, DataHelp);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->x() + help->width(), m->x() + 3) << "opens to the left";
    EXPECT_TRUE(screen.contains(help->geometry()));
}

TEST_F(TrayMenuWndTest, AssistiveTechnologyReadsTheItemsAndChoosesOne) {
    CTrayMenuWnd* m = Open();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::PopupMenu);
    ASSERT_EQ(a->childCount(), m->ItemCount());
    QStringList items;
    for (int i = 0; i < a->childCount(); ++i) {
        QAccessibleInterface* item = a->child(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item, a->child(i)) << "one interface per item";
        EXPECT_EQ(a->indexOfChild(item), i);
        EXPECT_EQ(item->parent()->object(), m);
        const QRect r = item->rect();
        EXPECT_EQ(a->childAt(r.center().x(), r.center().y()), item);
        const QAccessible::State st = item->state();
        items << (item->role() == QAccessible::Separator
                      ? QStringLiteral("-")
                      : item->text(QAccessible::Name) + (st.hasPopup ? ">" : "") +
                            (st.disabled ? "(off)" : ""));
    }
    EXPECT_EQ(items.join('|'), "Help>|-|Data>|Options|-|Show Notes|Close Notes|New Note|"
                               "Note Manager|Check Email>(off)|-|Exit");
    // The keyboard's selection is the focused item.
    QTest::keyClick(m, Qt::Key_Down);
    ASSERT_NE(a->focusChild(), nullptr);
    EXPECT_EQ(a->focusChild()->text(QAccessible::Name), "Help");
    EXPECT_TRUE(a->focusChild()->state().focused);
    // "press" chooses an item as Return does; a separator offers no action.
    QAccessibleInterface* separator = a->child(1);
    EXPECT_TRUE(separator->actionInterface()->actionNames().isEmpty());
    QAccessibleActionInterface* newNote = a->child(m->IndexOfData(CmdNewNote))->actionInterface();
    ASSERT_NE(newNote, nullptr);
    newNote->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_EQ(chosen, std::vector<int>{CmdNewNote});
    EXPECT_FALSE(m->isVisible());
}

} // namespace
