#include "TrayTestSupport.h"
#include "app/CTrayMenu.h"
#include "app/TrayIds.h"

#include <gtest/gtest.h>

using namespace TrayId;

namespace {

std::vector<int> DataOf(const std::vector<CTrayMenuItem>& items) {
    std::vector<int> out;
    for (const auto& i : items)
        out.push_back(i.data);
    return out;
}

const CTrayMenuItem* Find(const std::vector<CTrayMenuItem>& items, int data) {
    for (const auto& i : items)
        if (i.data == data && !i.separator) return &i;
    return nullptr;
}

class TrayMenuTest : public ::testing::Test {
protected:
    void AddAccounts(int n) {
        for (int i = 0; i < n; ++i) {
            auto* a = new CMailAccount;
            a->m_name = "Account " + std::to_string(i);
            core.m_mailAccounts.push_back(a);
        }
    }
    const CTrayMenuItem& Mail() {
        const CTrayMenuItem* mail = Find(menu.m_items, DataMail);
        EXPECT_NE(mail, nullptr);
        return *mail;
    }
    std::vector<bool> MailGreyed() {
        std::vector<bool> out;
        for (const auto& i : Mail().children)
            if (!i.separator) out.push_back(i.greyed);
        return out;
    }

    CountingCore core;
    CTrayMenu menu;
};

TEST_F(TrayMenuTest, PlainMenuHasTheFixedItemsInOrderWithTextsAndIcons) {
    menu.Build(core);
    EXPECT_EQ(DataOf(menu.m_items),
              (std::vector<int>{DataHelp, DataSeparator, DataData, CmdOptions, DataSeparator,
                                CmdShowNotes, CmdCloseNotes, CmdNewNote, CmdNoteManager, DataMail,
                                DataSeparator, CmdExit}));
    const std::vector<std::tuple<int, const char*, int>> expected = {
        {DataHelp, "Help", 228},
        {DataData, "Data", 226},
        {CmdOptions, "Options", 227},
        {CmdShowNotes, "Show Notes", 222},
        {CmdCloseNotes, "Close Notes", 221},
        {CmdNewNote, "New Note", 220},
        {CmdNoteManager, "Note Manager", 230},
        {DataMail, "Check Email", 211},
        {CmdExit, "Exit", 0}};
    for (const auto& [data, text, icon] : expected) {
        const CTrayMenuItem* item = Find(menu.m_items, data);
        ASSERT_NE(item, nullptr) << data;
        EXPECT_EQ(item->text, text);
        EXPECT_EQ(item->icon, icon) << text;
        EXPECT_TRUE(item->ownerDrawn);
        EXPECT_EQ(item->submenu, data == DataHelp || data == DataData || data == DataMail);
        EXPECT_EQ(item->command, item->submenu ? 0 : data);
    }
    for (const auto& item : menu.m_items) {
        if (item.separator) {
            EXPECT_FALSE(item.Selectable());
        }
    }

    const CTrayMenuItem* help = Find(menu.m_items, DataHelp);
    EXPECT_EQ(DataOf(help->children),
              (std::vector<int>{CmdContents, DataSeparator, CmdHomepage, DataSeparator, CmdAbout}));
    EXPECT_EQ(help->children[0].text, "Contents");
    EXPECT_EQ(help->children[0].icon, 214);
    EXPECT_EQ(help->children[2].text, "Homepage");
    EXPECT_EQ(help->children[2].icon, 229);
    EXPECT_EQ(help->children[4].text, "About");
    EXPECT_EQ(help->children[4].icon, 213);

    const CTrayMenuItem* data = Find(menu.m_items, DataData);
    EXPECT_EQ(DataOf(data->children), (std::vector<int>{CmdExport, CmdImport}));
    EXPECT_EQ(data->children[0].text, "Export");
    EXPECT_EQ(data->children[0].icon, 225);
    EXPECT_EQ(data->children[1].text, "Import");
    EXPECT_EQ(data->children[1].icon, 224);

    // No accounts: nothing to check, so the header is greyed instead of opening a bare frame.
    EXPECT_TRUE(Mail().children.empty());
    EXPECT_TRUE(Mail().greyed);
    EXPECT_FALSE(Mail().Selectable());
    EXPECT_EQ(menu.m_weatherItemWidth, 0);
}

TEST_F(TrayMenuTest, MailSubmenuFollowsTheAccountsAndTheRunningCheck) {
    AddAccounts(2);
    menu.Build(core);
    EXPECT_FALSE(Mail().greyed);
    EXPECT_EQ(DataOf(Mail().children), (std::vector<int>{165, 166}));
    EXPECT_EQ(Mail().children[1].text, "Account 1");
    EXPECT_EQ(Mail().children[1].command, 166);
    EXPECT_FALSE(Mail().children[0].ownerDrawn);
    EXPECT_EQ(MailGreyed(), (std::vector<bool>{false, false}));

    AddAccounts(1);
    menu.Build(core);
    ASSERT_EQ(Mail().children.size(), 5u);
    EXPECT_TRUE(Mail().children[3].separator);
    EXPECT_FALSE(Mail().children[3].ownerDrawn);
    EXPECT_EQ(Mail().children[4].text, "All Accounts");
    EXPECT_EQ(Mail().children[4].command, CmdAllAccounts);
    EXPECT_EQ(MailGreyed(), (std::vector<bool>{false, false, false, false}));

    core.m_mailTarget = 999; // all accounts are being checked
    menu.Build(core);
    EXPECT_EQ(MailGreyed(), (std::vector<bool>{true, true, true, true}));

    core.m_mailTarget = 1; // one account is being checked
    menu.Build(core);
    EXPECT_EQ(MailGreyed(), (std::vector<bool>{false, true, false, false}));

    core.m_mailTarget = 0;
    menu.Build(core);
    EXPECT_EQ(MailGreyed(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(TrayMenuTest, MoreAccountsThanCommandIdsShowTheFirst24) {
    AddAccounts(30);
    menu.Build(core);
    ASSERT_EQ(Mail().children.size(), 26u);
    EXPECT_EQ(Mail().children[23].command, 188);
    EXPECT_EQ(Mail().children[25].command, CmdAllAccounts);
}

TEST_F(TrayMenuTest, WeatherSubmenuFollowsTheSettingAndTheStoredReport) {
    core.m_weather.m_place = "Springfield";
    menu.Build(core);
    EXPECT_EQ(Find(menu.m_items, DataWeather), nullptr);

    core.m_weatherEnabled = 1;
    menu.Build(core);
    auto order = DataOf(menu.m_items);
    ASSERT_EQ(order.size(), 13u);
    EXPECT_EQ(order[8], CmdNoteManager);
    EXPECT_EQ(order[9], DataWeather);
    EXPECT_EQ(order[10], DataMail);
    const CTrayMenuItem* weather = Find(menu.m_items, DataWeather);
    EXPECT_EQ(weather->text, "Check Weather");
    EXPECT_EQ(weather->icon, 241);
    EXPECT_TRUE(weather->submenu);
    ASSERT_EQ(weather->children.size(), 1u);
    EXPECT_EQ(weather->children[0].data, CmdWeatherPlace);
    EXPECT_EQ(weather->children[0].command, CmdWeatherPlace);
    EXPECT_EQ(weather->children[0].text, "Springfield");
    EXPECT_EQ(weather->children[0].icon, 242);
    EXPECT_EQ(menu.m_weatherItemWidth, 210);

    const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday"};
    for (int d = 0; d < 5; ++d) {
        core.m_weather.m_dayName[d] = days[d];
        core.m_weather.m_condition[d] = "Clear";
        core.m_weather.m_high[d] = 70 + d;
        core.m_weather.m_low[d] = -d;
        core.m_weather.m_icon[d] = 243 + d;
    }
    core.m_weather.m_icon[4] = 0; // never classified
    menu.Build(core);
    weather = Find(menu.m_items, DataWeather);
    EXPECT_EQ(DataOf(weather->children), (std::vector<int>{219, 224, 220, 221, 222, 223}));
    EXPECT_EQ(weather->children[1].text, "Monday, Clear,  70 - 0");
    EXPECT_EQ(weather->children[3].text, "Wednesday, Clear,  72 - -2");
    for (int d = 0; d < 5; ++d) {
        const CTrayMenuItem& line = weather->children[d + 1];
        EXPECT_EQ(line.icon, d < 4 ? 243 + d : 0);
        EXPECT_EQ(line.command, 0);
        EXPECT_TRUE(line.Selectable());
        EXPECT_FALSE(line.ShowsSelection());
    }
    EXPECT_TRUE(weather->children[0].ShowsSelection());
}

TEST_F(TrayMenuTest, EachItemDataClassHasItsMeasuredSize) {
    AddAccounts(3);
    core.m_weatherEnabled = 1;
    core.m_weather.m_dayName[0] = "Monday";
    menu.SetMetrics(131, 19);
    menu.Build(core);
    EXPECT_EQ(menu.m_menuItemWidth, 131);
    EXPECT_EQ(menu.m_menuItemHeight, 18);

    std::map<int, CTrayMenu::Size> sizes;
    std::function<void(const std::vector<CTrayMenuItem>&)> walk =
        [&](const std::vector<CTrayMenuItem>& items) {
            for (const auto& i : items) {
                if (i.ownerDrawn) sizes[i.data] = menu.Measure(i);
                walk(i.children);
            }
        };
    walk(menu.m_items);
    using S = CTrayMenu::Size;
    // Two thirds and three quarters are taken of the whole width, not of its third or quarter.
    EXPECT_EQ(sizes[CmdExport], (S{87, 20}));
    EXPECT_EQ(sizes[CmdImport], (S{87, 20}));
    for (int id : std::initializer_list<int>{CmdContents, CmdHomepage, CmdAbout})
        EXPECT_EQ(sizes[id], (S{98, 20})) << id;
    for (int id : {219, 224, 220, 221, 222, 223})
        EXPECT_EQ(sizes[id], (S{210, 20})) << id;
    EXPECT_EQ(sizes[DataSeparator], (S{10, 5}));
    for (int id :
         std::initializer_list<int>{DataHelp, DataData, CmdOptions, CmdShowNotes, CmdCloseNotes,
                                    CmdNewNote, CmdNoteManager, DataWeather, DataMail, CmdExit})
        EXPECT_EQ(sizes[id], (S{131, 20})) << id;
    EXPECT_EQ(sizes.size(), 22u);

    // Taller menu fonts make taller items; 20 pixels is the least.
    menu.SetMetrics(131, 21);
    EXPECT_EQ(menu.Measure(Mail()), (S{131, 20}));
    menu.SetMetrics(131, 22);
    EXPECT_EQ(menu.Measure(Mail()), (S{131, 21}));

    // Plain account items: a menu bar's height, the text and room on both sides.
    menu.SetMetrics(131, 19);
    EXPECT_EQ(menu.Measure(Mail().children[0], 60), (S{26 + 60 + 16, 19}));
    EXPECT_EQ(menu.Measure(Mail().children[3]), (S{10, 9}));
}

TEST(TrayMenuSample, WidthIsMeasuredOnTwentyCharacters) {
    EXPECT_EQ(CTrayMenu::WidthSample(), "Countdown FORMATAAAA");
}

} // namespace
