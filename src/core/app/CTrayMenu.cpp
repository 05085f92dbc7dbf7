#include "core/app/CTrayMenu.h"

#include "core/app/CTrayCore.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "core/sync/ISyncService.h"

#include <algorithm>

using namespace TrayId;

namespace {

CTrayMenuItem OwnerDrawn(int data, int command, const std::string& text, int icon) {
    CTrayMenuItem item;
    item.data = data;
    item.command = command;
    item.text = text;
    item.icon = icon;
    return item;
}

CTrayMenuItem CommandItem(int id, const std::string& text, int icon) {
    return OwnerDrawn(id, id, text, icon);
}

CTrayMenuItem Header(int code, const std::string& text, int icon) {
    CTrayMenuItem item = OwnerDrawn(code, 0, text, icon);
    item.submenu = true;
    return item;
}

CTrayMenuItem Separator(bool ownerDrawn = true) {
    CTrayMenuItem item;
    item.data = ownerDrawn ? DataSeparator : 0;
    item.ownerDrawn = ownerDrawn;
    item.separator = true;
    return item;
}

CTrayMenuItem Plain(int id, const std::string& text, bool greyed) {
    CTrayMenuItem item;
    item.data = id;
    item.command = id;
    item.ownerDrawn = false;
    item.text = text;
    item.greyed = greyed;
    return item;
}

CTrayMenuItem ReportLine(int data, const std::string& text) {
    CTrayMenuItem line = OwnerDrawn(data, 0, text, 0);
    line.reportLine = true;
    return line;
}

// "just now", "25 min ago", "3 h ago", "2 days ago".
std::string Age(const COleDateTime& then, const COleDateTime& now) {
    const long long minutes = std::max(COleDateTime::WholeSeconds(now - then), 0) / 60;
    if (minutes < 1) return "just now";
    if (minutes < 60) return std::to_string(minutes) + " min ago";
    if (minutes < 48 * 60) return std::to_string(minutes / 60) + " h ago";
    return std::to_string(minutes / (24 * 60)) + " days ago";
}

CTrayMenuItem WeatherMenu(const CTrayCore& core) {
    const CWeather& weather = core.settings().m_weather;
    CTrayMenuItem menu = Header(DataWeather, "Check Weather", IconWeather);
    menu.children.push_back(CommandItem(CmdWeatherPlace, weather.m_place, IconWeatherPlace));
    // A report that could not be renewed stays, but says so and how old it is.
    const std::string failure = core.WeatherFailure();
    if (!failure.empty()) menu.children.push_back(ReportLine(DataWeatherFailure, failure));
    const COleDateTime& last = core.settings().m_lastWeatherCheck;
    if (!weather.m_dayName[0].empty() && last.IsValid() && last.GetYear() > 1999)
        menu.children.push_back(
            ReportLine(DataWeatherAge, "Report from " + Age(last, Clock::Now())));
    if (!weather.m_dayName[0].empty()) {
        for (int d = 0; d < CWeather::kDays; ++d) {
            int icon = weather.m_icon[d];
            bool known = icon >= IconFirstCondition && icon <= IconLastCondition;
            CTrayMenuItem line =
                OwnerDrawn(kReportDayData[d], 0, weather.FormatDay(d), known ? icon : 0);
            line.reportLine = true;
            menu.children.push_back(line);
        }
    }
    return menu;
}

CTrayMenuItem MailMenu(const CTrayCore& core) {
    CTrayMenuItem menu = Header(DataMail, "Check Email", IconNewMail);
    const auto& accounts = core.Store().accounts();
    const int count = static_cast<int>(accounts.size());
    const int shown = std::min(count, CmdLastAccount - CmdFirstAccount + 1);
    const bool allRunning = core.MailTarget() == IMailService::kAllAccounts;
    for (int i = 0; i < shown; ++i)
        menu.children.push_back(
            Plain(CmdFirstAccount + i, accounts[i]->m_name, allRunning || core.MailTarget() == i));
    if (count >= 3) {
        menu.children.push_back(Separator(false));
        menu.children.push_back(Plain(CmdAllAccounts, "All Accounts", allRunning));
    }
    // An empty popup would open as a bare frame; without accounts there is nothing to check.
    menu.greyed = menu.children.empty();
    return menu;
}

} // namespace

std::string CTrayMenu::WidthSample() {
    return std::string(kWidthSample).substr(0, 20);
}

void CTrayMenu::SetMetrics(int sampleWidth, int systemMenuHeight) {
    m_menuItemWidth = sampleWidth;
    m_menuItemHeight = systemMenuHeight - 1;
}

void CTrayMenu::Build(const CTrayCore& core) {
    m_items.clear();

    CTrayMenuItem help = Header(DataHelp, "Help", IconHelp);
    help.children = {CommandItem(CmdContents, "Contents", IconCheckingMail), Separator(),
                     CommandItem(CmdHomepage, "Homepage", IconHomepage), Separator(),
                     CommandItem(CmdAbout, "About", IconNormal)};
    m_items.push_back(help);
    m_items.push_back(Separator());

    CTrayMenuItem data = Header(DataData, "Data", IconData);
    data.children = {CommandItem(CmdExport, "Export", IconExport),
                     CommandItem(CmdImport, "Import", IconImport)};
    m_items.push_back(data);
    m_items.push_back(CommandItem(CmdOptions, "Options", IconOptions));
    m_items.push_back(Separator());

    m_items.push_back(CommandItem(CmdShowNotes, "Show Notes", IconShowNotes));
    m_items.push_back(CommandItem(CmdCloseNotes, "Close Notes", IconCloseNotes));
    m_items.push_back(CommandItem(CmdNewNote, "New Note", IconNewNote));
    m_items.push_back(CommandItem(CmdNoteManager, "Note Manager", IconNoteManager));
    if (ISyncService* sync = core.SyncService(); sync && sync->CanSyncNow())
        m_items.push_back(CommandItem(CmdSyncNow, "Sync Now", IconData));

    if (core.settings().m_weatherEnabled) {
        m_items.push_back(WeatherMenu(core));
        m_weatherItemWidth = kWeatherItemWidth;
    }
    m_items.push_back(MailMenu(core));
    m_items.push_back(Separator());
    m_items.push_back(CommandItem(CmdExit, "Exit", 0));
}

int CTrayMenu::ItemHeight() const {
    return m_menuItemHeight > 20 ? m_menuItemHeight : 20;
}

CTrayMenu::Size CTrayMenu::Measure(const CTrayMenuItem& item, int textWidth) const {
    if (!item.ownerDrawn) {
        // Plain items look like the system's own: a menu bar's height, half of it between
        // groups.
        int height = m_menuItemHeight + 1;
        if (item.separator) return {10, height / 2};
        return {kTextLeft + textWidth + kPlainRightMargin, height};
    }
    switch (item.data) {
    case DataSeparator:
        return {10, 5};
    case CmdExport:
    case CmdImport:
        return {m_menuItemWidth * 2 / 3, ItemHeight()};
    case CmdContents:
    case CmdHomepage:
    case CmdAbout:
        return {m_menuItemWidth * 3 / 4, ItemHeight()};
    case CmdWeatherPlace:
    case DataReportDay0:
    case DataReportDay1:
    case DataReportDay2:
    case DataReportDay3:
    case DataReportDay4:
    case DataWeatherFailure:
    case DataWeatherAge:
        // The day lines end in their temperatures and unit: a fixed width cut those off.
        return {std::clamp(kTextLeft + textWidth + kPlainRightMargin, m_weatherItemWidth,
                           std::max(m_weatherItemWidth, kWeatherMaxItemWidth)),
                ItemHeight()};
    default:
        return {m_menuItemWidth, ItemHeight()};
    }
}
