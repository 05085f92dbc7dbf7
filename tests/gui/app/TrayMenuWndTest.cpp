#include "MenuPicture.h"
#include "app/CTrayCore.h"
#include "app/CTrayMenuWnd.h"
#include "app/TrayIds.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace TrayId;

namespace {

QColor Color(int id) {
    return SystemColors::Get(id);
}
// Colours as the screen shows them, eight bits a channel.
QRgb Rgb(const QColor& c) {
    return c.rgb();
}
QRgb Px(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}
const QColor kSelected(75, 75, 192);

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
    static QFont Font() {
        QFont f("DejaVu Sans");
        f.setPixelSize(12);
        return f;
    }
    void AddAccounts(int n) {
        const char* names[] = {"Home", "Work", "Club"};
        for (int i = 0; i < n; ++i) {
            auto* a = new CMailAccount;
            a->m_name = names[i % 3];
            core.m_mailAccounts.push_back(a);
        }
    }
    void AddWeatherReport() {
        core.m_weatherEnabled = 1;
        core.m_weather.m_place = "Springfield, IL";
        const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
        const char* conditions[] = {"Clear", "Partial Cloudy", "Cloudy", "Light rain", "Fog"};
        const int icons[] = {243, 244, 245, 246, 248};
        for (int d = 0; d < 5; ++d) {
            core.m_weather.m_dayName[d] = days[d];
            core.m_weather.m_condition[d] = conditions[d];
            core.m_weather.m_high[d] = 70 + d;
            core.m_weather.m_low[d] = 50 + d;
            core.m_weather.m_icon[d] = icons[d];
        }
    }
    CTrayMenuWnd* Open(QPoint at = QPoint(40, 40)) {
        CTrayMenu model;
        CTrayMenuWnd::ApplyFontMetrics(model, Font());
        model.Build(core);
        menu = std::make_unique<CTrayMenuWnd>(std::move(model), Font());
        chosen = std::make_unique<QSignalSpy>(menu.get(), &CTrayMenuWnd::commandChosen);
        menu->Popup(at);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
        return menu.get();
    }
    static QPoint Center(CTrayMenuWnd* w, int data) {
        int i = w->IndexOfData(data);
        EXPECT_GE(i, 0) << data;
        return w->ItemRect(i).center();
    }
    static void MoveTo(CTrayMenuWnd* w, int data) { QTest::mouseMove(w, Center(w, data)); }
    static void ClickOn(CTrayMenuWnd* w, int data) {
        QTest::mouseClick(w, Qt::LeftButton, {}, Center(w, data));
    }
    // Rests on a submenu item until its submenu opens.
    CTrayMenuWnd* OpenSubmenuOf(CTrayMenuWnd* w, int data) {
        MoveTo(w, data);
        EXPECT_EQ(w->Selected(), w->IndexOfData(data));
        EXPECT_TRUE(QTest::qWaitFor([w] { return w->Submenu() != nullptr; }, 2000));
        if (w->Submenu()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w->Submenu()));
        }
        return w->Submenu();
    }
    std::vector<int> Chosen() const {
        std::vector<int> out;
        for (const auto& args : *chosen)
            out.push_back(args.at(0).toInt());
        return out;
    }
    static int CountColor(const QImage& img, const QRect& area, const QColor& c) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += Px(img, x, y) == c.rgb() ? 1 : 0;
        return n;
    }
    static int CountOther(const QImage& img, const QRect& area, const QColor& c) {
        return area.width() * area.height() - CountColor(img, area, c);
    }

    CTrayCore core;
    std::unique_ptr<CTrayMenuWnd> menu;
    std::unique_ptr<QSignalSpy> chosen;
};

TEST_F(TrayMenuWndTest, PlainMenuIsMeasuredAndPaintedAsTheTablesSay) {
    CTrayMenuWnd* m = Open();
    const CTrayMenu& model = m->Model();
    EXPECT_EQ(m->width(), model.m_menuItemWidth + 6);
    EXPECT_EQ(m->ItemRect(0), QRect(3, 3, model.m_menuItemWidth, 20));
    EXPECT_EQ(m->ItemRect(1).height(), 5);

    QImage img = m->grab().toImage();
    const QColor menuColor = Color(COLOR_MENU);
    // Raised frame.
    EXPECT_EQ(Px(img, 0, 0), Rgb(Color(COLOR_3DLIGHT)));
    EXPECT_EQ(Px(img, img.width() - 1, img.height() - 1), Rgb(Color(COLOR_3DDKSHADOW)));
    EXPECT_EQ(Px(img, 1, 1), Rgb(Color(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Px(img, img.width() - 2, img.height() - 2), Rgb(Color(COLOR_BTNSHADOW)));
    // An etched separator: shadow over highlight across the middle.
    QRect sep = m->ItemRect(1);
    EXPECT_EQ(Px(img, sep.center().x(), sep.top() + 1), Rgb(Color(COLOR_BTNSHADOW)));
    EXPECT_EQ(Px(img, sep.center().x(), sep.top() + 2), Rgb(Color(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Px(img, sep.center().x(), sep.top()), Rgb(menuColor));
    EXPECT_EQ(Px(img, sep.center().x(), sep.top() + 3), Rgb(menuColor));

    // New Note: the picture 4 pixels in and vertically centred, the text from 26 pixels in.
    QRect r = m->ItemRect(m->IndexOfData(CmdNewNote));
    QRect iconBox(r.left() + 4, r.top() + 2, 16, 16);
    EXPECT_GT(CountOther(img, iconBox, menuColor), 60);
    EXPECT_EQ(CountOther(img, QRect(r.left(), r.top(), 4, r.height()), menuColor), 0);
    EXPECT_EQ(CountOther(img, QRect(r.left() + 4, r.top(), 16, 2), menuColor), 0);
    EXPECT_EQ(CountOther(img, QRect(r.left() + 4, r.top() + 18, 16, 2), menuColor), 0);
    EXPECT_EQ(CountOther(img, QRect(r.left() + 20, r.top(), 6, r.height()), menuColor), 0);
    EXPECT_GT(CountOther(img, QRect(r.left() + 26, r.top(), 3, r.height()), menuColor), 0)
        << "the N of New Note starts at the text edge";
    // Nothing is selected.
    EXPECT_EQ(CountColor(img, img.rect(), kSelected), 0);

    QString why;
    EXPECT_TRUE(MenuPicture::MatchesReference(MenuPicture::Grab(m), "tray_menu_plain", &why))
        << why.toStdString();
}

TEST_F(TrayMenuWndTest, SelectedItemIsFilledFramedAndWrittenInWhite) {
    CTrayMenuWnd* m = Open();
    MoveTo(m, CmdNewNote);
    const int index = m->IndexOfData(CmdNewNote);
    ASSERT_EQ(m->Selected(), index);
    QImage img = m->grab().toImage();
    QRect r = m->ItemRect(index);
    EXPECT_EQ(Px(img, r.left() + 22, r.center().y()), Rgb(kSelected));
    EXPECT_EQ(Px(img, r.right() - 3, r.center().y()), Rgb(kSelected));
    // The picture is drawn over the selection colour.
    EXPECT_GT(CountOther(img, QRect(r.left() + 4, r.top() + 2, 16, 16), kSelected), 60);
    int light = 0; // the text: white, and its smoothed edges between white and the fill
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        for (int x = r.left() + 26; x < r.right(); ++x)
            light += qGray(img.pixel(x, y)) > 200;
    EXPECT_GT(light, 40);
    // Sunken frame: shadow at the top and left, highlight at the bottom and right.
    EXPECT_EQ(Px(img, r.center().x(), r.top()), Rgb(Color(COLOR_BTNSHADOW)));
    EXPECT_EQ(Px(img, r.left(), r.center().y()), Rgb(Color(COLOR_BTNSHADOW)));
    EXPECT_EQ(Px(img, r.center().x(), r.bottom()), Rgb(Color(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Px(img, r.right(), r.center().y()), Rgb(Color(COLOR_BTNHIGHLIGHT)));
    // Only this item.
    EXPECT_EQ(CountColor(img, img.rect(), kSelected), CountColor(img, r, kSelected));
    QRect other = m->ItemRect(m->IndexOfData(CmdShowNotes));
    EXPECT_EQ(Px(img, other.left() + 22, other.center().y()), Rgb(Color(COLOR_MENU)));

    QString why;
    EXPECT_TRUE(MenuPicture::MatchesReference(MenuPicture::Grab(m), "tray_menu_selected", &why))
        << why.toStdString();
}

TEST_F(TrayMenuWndTest, WeatherAndThreeAccountsOpenTheirSubmenus) {
    AddWeatherReport();
    AddAccounts(3);
    core.m_mailTarget = 1; // "Work" is being checked
    CTrayMenuWnd* m = Open();

    CTrayMenuWnd* weather = OpenSubmenuOf(m, DataWeather);
    ASSERT_NE(weather, nullptr);
    EXPECT_EQ(weather->width(), 210 + 6);
    EXPECT_EQ(weather->ItemCount(), 6);
    EXPECT_EQ(weather->pos(),
              m->pos() + QPoint(m->width() - 3, m->ItemRect(m->Selected()).top() - 3));
    // Under the mouse a report line keeps the menu colours; the place line does not.
    MoveTo(weather, 221);
    EXPECT_EQ(weather->Selected(), 3);
    QImage img = weather->grab().toImage();
    EXPECT_EQ(CountColor(img, img.rect(), kSelected), 0);
    EXPECT_GT(
        CountOther(img,
                   QRect(weather->ItemRect(3).left() + 4, weather->ItemRect(3).top() + 2, 16, 16),
                   Color(COLOR_MENU)),
        40)
        << "the day's weather picture";
    MoveTo(weather, CmdWeatherPlace);
    img = weather->grab().toImage();
    EXPECT_GT(CountColor(img, weather->ItemRect(0), kSelected), 100);
    EXPECT_EQ(m->Selected(), m->IndexOfData(DataWeather)) << "the header stays selected";
    QString why;
    EXPECT_TRUE(MenuPicture::MatchesReference(MenuPicture::Grab(m), "tray_menu_weather", &why))
        << why.toStdString();

    // On to the mail accounts: the weather closes, the accounts open.
    CTrayMenuWnd* mail = OpenSubmenuOf(m, DataMail);
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->Item(0).data, 165);
    EXPECT_EQ(mail->ItemCount(), 5);
    EXPECT_TRUE(mail->Item(1).greyed);
    EXPECT_FALSE(mail->Item(4).greyed);
    MoveTo(mail, 165);
    EXPECT_TRUE(MenuPicture::MatchesReference(MenuPicture::Grab(m), "tray_menu_mail", &why))
        << why.toStdString();
}

TEST_F(TrayMenuWndTest, ClickingAnItemClosesTheMenuAndSendsItsCommand) {
    CTrayMenuWnd* m = Open();
    MoveTo(m, CmdNewNote);
    ClickOn(m, CmdNewNote);
    EXPECT_EQ(Chosen(), std::vector<int>{CmdNewNote});
    EXPECT_FALSE(m->isVisible());

    m = Open();
    CTrayMenuWnd* data = OpenSubmenuOf(m, DataData);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->pos(), m->pos() + QPoint(m->width() - 3, m->ItemRect(m->Selected()).top() - 3));
    MoveTo(data, CmdImport);
    EXPECT_EQ(data->Selected(), 1);
    ClickOn(data, CmdImport);
    EXPECT_EQ(Chosen(), std::vector<int>{CmdImport});
    EXPECT_FALSE(m->isVisible());

    // A press on a submenu item opens it at once; back on the main menu it closes.
    m = Open();
    ClickOn(m, DataHelp);
    ASSERT_NE(m->Submenu(), nullptr);
    MoveTo(m, CmdOptions);
    EXPECT_EQ(m->Submenu(), nullptr);
    ClickOn(m, CmdExit);
    EXPECT_EQ(Chosen(), std::vector<int>{CmdExit});
}

TEST_F(TrayMenuWndTest, TheButtonReleaseThatFollowsOpeningChoosesNothing) {
    CTrayMenuWnd* m = Open();
    MoveTo(m, CmdExit);
    QTest::mouseRelease(m, Qt::RightButton, {}, Center(m, CmdExit));
    QTest::mouseRelease(m, Qt::LeftButton, {}, Center(m, CmdExit));
    EXPECT_TRUE(Chosen().empty());
    EXPECT_TRUE(m->isVisible());
    // The right button never chooses.
    QTest::mouseClick(m, Qt::RightButton, {}, Center(m, CmdExit));
    EXPECT_TRUE(Chosen().empty());
    ClickOn(m, CmdExit);
    EXPECT_EQ(Chosen(), std::vector<int>{CmdExit});
}

TEST_F(TrayMenuWndTest, ClickOutsideClosesWithoutACommand) {
    CTrayMenuWnd* m = Open();
    OpenSubmenuOf(m, DataHelp);
    QTest::mouseClick(m, Qt::LeftButton, {}, QPoint(m->width() + 300, m->height() + 50));
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(Chosen().empty());
}

TEST_F(TrayMenuWndTest, GreyedItemsAndReportLinesSendNothing) {
    AddAccounts(3);
    AddWeatherReport();
    core.m_mailTarget = 999;
    CTrayMenuWnd* m = Open();
    ClickOn(m, DataMail);
    CTrayMenuWnd* mail = m->Submenu();
    ASSERT_NE(mail, nullptr);
    ClickOn(mail, 166);
    ClickOn(mail, CmdAllAccounts);
    EXPECT_TRUE(Chosen().empty());
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(mail->Selected(), -1);

    ClickOn(m, DataWeather);
    ASSERT_NE(m->Submenu(), nullptr);
    ClickOn(m->Submenu(), 222);
    EXPECT_TRUE(Chosen().empty());
    EXPECT_FALSE(m->isVisible());

    // Without accounts the mail item is greyed and opens nothing.
    for (CMailAccount* a : core.m_mailAccounts)
        delete a;
    core.m_mailAccounts.clear();
    m = Open();
    ClickOn(m, DataMail);
    EXPECT_EQ(m->Submenu(), nullptr);
    EXPECT_EQ(m->Selected(), -1);
    EXPECT_TRUE(m->isVisible());
}

TEST_F(TrayMenuWndTest, KeysMoveOpenChooseAndClose) {
    CTrayMenuWnd* m = Open();
    QTest::keyClick(m, Qt::Key_Down);
    EXPECT_EQ(m->Selected(), 0);
    QTest::keyClick(m, Qt::Key_Right);
    ASSERT_NE(m->Submenu(), nullptr);
    EXPECT_EQ(m->Submenu()->Selected(), 0);
    QTest::keyClick(m, Qt::Key_Down); // over the separator to Homepage
    EXPECT_EQ(m->Submenu()->Selected(), 2);
    QTest::keyClick(m, Qt::Key_Escape);
    EXPECT_EQ(m->Submenu(), nullptr);
    EXPECT_EQ(m->Selected(), 0);
    QTest::keyClick(m, Qt::Key_Up); // wraps to Exit
    EXPECT_EQ(m->Selected(), m->IndexOfData(CmdExit));
    QTest::keyClick(m, Qt::Key_Up); // over the separator and the greyed mail item
    EXPECT_EQ(m->Selected(), m->IndexOfData(CmdNoteManager));
    QTest::keyClick(m, Qt::Key_Up);
    QTest::keyClick(m, Qt::Key_Return);
    EXPECT_EQ(Chosen(), std::vector<int>{CmdNewNote});

    m = Open();
    QTest::keyClick(m, Qt::Key_Escape);
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(Chosen().empty());
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

} // namespace
