#include "core/app/CTrayMenu.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "support/FakeHub.h"

#include <gtest/gtest.h>

using namespace TrayId;

namespace {

// A menu as text: "text@data#icon", ' before a plain item, ~ when greyed, * for a report line,
// {...} around a submenu's items, - for a separator.
std::string Describe(const std::vector<CTrayMenuItem>& items) {
    std::string out;
    for (const auto& i : items) {
        EXPECT_EQ(i.command, i.separator || i.submenu || i.reportLine ? 0 : i.data) << i.text;
        out += std::string(out.empty() ? "" : "|") + (i.ownerDrawn ? "" : "'");
        if (i.separator) {
            out += '-';
            continue;
        }
        out += i.text + '@' + std::to_string(i.data);
        if (i.icon) out += '#' + std::to_string(i.icon);
        out += std::string(i.greyed ? "~" : "") + (i.reportLine ? "*" : "");
        if (i.submenu) out += '{' + Describe(i.children) + '}';
    }
    return out;
}

class TrayMenuTest : public ::testing::Test {
protected:
    void AddAccounts(int n) {
        while (n-- > 0) {
            auto account = std::make_unique<CMailAccount>();
            account->m_name = "a" + std::to_string(core.Store().accounts().size() + 1);
            core.Store().AddAccount(std::move(account));
        }
    }
    static const CTrayMenuItem* Search(const std::vector<CTrayMenuItem>& items, int data) {
        for (const auto& i : items) {
            if (i.data == data) return &i;
            if (const CTrayMenuItem* c = Search(i.children, data)) return c;
        }
        return nullptr;
    }
    const CTrayMenuItem& Find(int data) const {
        const CTrayMenuItem* i = Search(menu.m_items, data);
        return i ? *i : throw std::out_of_range(std::to_string(data));
    }

    FakePlatform platform;
    FakeHub core{platform};
    CTrayMenu menu;
};

TEST_F(TrayMenuTest, PlainMenuHasTheFixedItemsInOrderWithTextsAndIcons) {
    menu.Build(core);
    // Without accounts the mail header is greyed rather than opening a bare frame.
    EXPECT_EQ(Describe(menu.m_items),
              "Help@209#228{Contents@57670#214|-|Homepage@32781#229|-|About@32776#213}|-|"
              "Data@210#226{Export@32800#225|Import@32799#224}|Options@32779#227|-|"
              "Show Notes@32790#222|Close Notes@32802#221|New Note@32798#220|"
              "Note Manager@32775#230|Check Email@211#211~{}|-|Exit@32777");
    EXPECT_EQ(menu.m_weatherItemWidth, 0);
    // "Sync Now" only when a sync command is set.
    platform.services.syncCommand = true;
    menu.Build(core);
    EXPECT_NE(Describe(menu.m_items).find("Note Manager@32775#230|Sync Now@32803#226|Check Email"),
              std::string::npos);
}

TEST_F(TrayMenuTest, MailSubmenuFollowsTheAccountsAndTheRunningCheck) {
    const struct {
        int accounts, target;
        const char* items;
    } cases[] = {
        {0, -1, "~{}"},
        {2, -1, "{'a1@165|'a2@166}"},
        {2, 999, "{'a1@165~|'a2@166~}"},
        {2, 1, "{'a1@165|'a2@166~}"},
        {3, -1, "{'a1@165|'a2@166|'a3@167|'-|'All Accounts@32789}"},
        {3, 999, "{'a1@165~|'a2@166~|'a3@167~|'-|'All Accounts@32789~}"},
        {3, 0, "{'a1@165~|'a2@166|'a3@167|'-|'All Accounts@32789}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.accounts << " accounts, target " << c.target);
        AddAccounts(c.accounts - static_cast<int>(core.Store().accounts().size()));
        core.EndMailCheck();
        if (c.target != IMailService::kNoCheck) core.StartMailCheck(c.target, 0);
        menu.Build(core);
        EXPECT_EQ(Describe({Find(DataMail)}), std::string("Check Email@211#211") + c.items);
    }
    // Account commands end at 188: later accounts are left out rather than take other ids.
    AddAccounts(27);
    core.EndMailCheck();
    menu.Build(core);
    ASSERT_EQ(Find(DataMail).children.size(), 26u);
    EXPECT_EQ(Find(DataMail).children[23].command, 188);
}

TEST_F(TrayMenuTest, WeatherSubmenuFollowsTheSettingAndTheStoredReport) {
    core.settings().m_weather.m_place = "Springfield";
    menu.Build(core);
    EXPECT_THROW(Find(DataWeather), std::out_of_range);

    core.settings().m_weatherEnabled = 1;
    menu.Build(core);
    EXPECT_EQ(menu.m_items.at(9).data, DataWeather) << "after the manager, before the mail";
    EXPECT_EQ(Describe({Find(DataWeather)}), "Check Weather@218#241{Springfield@219#242}");
    EXPECT_EQ(menu.m_weatherItemWidth, 210);

    const char* days[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
    for (int d = 0; d < 5; ++d) {
        core.settings().m_weather.m_dayName[d] = days[d];
        core.settings().m_weather.m_condition[d] = "Fog";
        core.settings().m_weather.m_high[d] = 70 + d;
        core.settings().m_weather.m_low[d] = -d;
        core.settings().m_weather.m_icon[d] = d < 4 ? 243 + d : 999; // no picture for an unknown id
    }
    menu.Build(core);
    EXPECT_EQ(Describe({Find(DataWeather)}),
              "Check Weather@218#241{Springfield@219#242|Mon, Fog,  70 - 0 °F@224#243*|"
              "Tue, Fog,  71 - -1 °F@220#244*|Wed, Fog,  72 - -2 °F@221#245*|"
              "Thu, Fog,  73 - -3 °F@222#246*|Fri, Fog,  74 - -4 °F@223*}");

    // A failed fetch keeps the report and says why, and how old the report is.
    Clock::SetForTest(COleDateTime(2024, 5, 6, 12, 0, 0));
    core.settings().m_lastWeatherCheck = COleDateTime(2024, 5, 6, 8, 59, 0);
    platform.services.weatherFailure = "Cannot reach the weather service (timed out).";
    menu.Build(core);
    const auto& lines = Find(DataWeather).children;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(Describe({lines[1], lines[2]}),
              "Cannot reach the weather service (timed out).@225*|Report from 3 h ago@226*");
    platform.services.weatherFailure.clear();
    core.settings().m_lastWeatherCheck = COleDateTime(2024, 5, 6, 11, 35, 0);
    menu.Build(core);
    EXPECT_EQ(Describe({Find(DataWeather).children.at(1)}), "Report from 25 min ago@226*");
    Clock::ResetForTest();
}

TEST_F(TrayMenuTest, EachItemDataClassHasItsMeasuredSize) {
    EXPECT_EQ(CTrayMenu::WidthSample(), "Countdown FORMATAAAA"); // the first 20 characters
    AddAccounts(3);
    core.settings().m_weatherEnabled = 1;
    core.settings().m_weather.m_dayName[0] = "Mon";
    menu.SetMetrics(131, 19);
    menu.Build(core);
    using S = CTrayMenu::Size;
    // Two thirds and three quarters are taken of the whole width, not of its third or quarter.
    const std::vector<std::pair<std::vector<int>, S>> classes = {
        {{32800, 32799}, {87, 20}},
        {{57670, 32781, 32776}, {98, 20}},
        {{219, 224, 220, 221, 222, 223}, {210, 20}},
        {{209, 210, 32779, 32790, 32802, 32798, 32775, 218, 211, 32777}, {131, 20}}};
    for (const auto& [ids, size] : classes)
        for (int id : ids)
            EXPECT_EQ(menu.Measure(Find(id)), size) << id;
    EXPECT_EQ(menu.Measure(menu.m_items[1]), (S{10, 5})) << "separator";
    // Weather lines widen for their text, up to a limit.
    EXPECT_EQ(menu.Measure(Find(224), 300), (S{26 + 300 + 16, 20}));
    EXPECT_EQ(menu.Measure(Find(224), 1000), (S{420, 20}));

    // Taller menu fonts make taller items; 20 pixels is the least.
    menu.SetMetrics(131, 21);
    EXPECT_EQ(menu.Measure(Find(DataMail)), (S{131, 20}));
    menu.SetMetrics(131, 22);
    EXPECT_EQ(menu.Measure(Find(DataMail)), (S{131, 21}));
}

} // namespace
