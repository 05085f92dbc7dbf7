#pragma once

// Resource ids of the tray icon and its menu: command ids, item data of the owner-drawn items
// and the icon pictures they show.
namespace TrayId {

// The icon's own id.
constexpr int kIconId = 100;
// The tooltip of the icon.
constexpr const char* kTip = "Double-Click to create a new note";

// Mouse messages carried by the callback, and the modifier flags of a delivered click.
enum MouseMessage : int { LButtonUp = 0x202, LButtonDblClk = 0x203, RButtonUp = 0x205 };
enum ClickKeys : int { KeyShift = 4, KeyControl = 8 };

enum Command : int {
    CmdNewNote = 32798,
    CmdNoteManager = 32775,
    CmdShowNotes = 32790,
    CmdCloseNotes = 32802,
    CmdOptions = 32779,
    CmdExport = 32800,
    CmdImport = 32799,
    CmdContents = 57670,
    CmdHomepage = 32781,
    CmdAbout = 32776,
    CmdAllAccounts = 32789,
    CmdFirstAccount = 165, // 165 + account index, up to 188
    CmdLastAccount = 188,
    CmdWeatherPlace = 219,
    CmdSyncNow = 32803,
    CmdExit = 32777,
};

// Item data of submenu headers, weather report lines and separators.
enum ItemData : int {
    DataHelp = 209,
    DataData = 210,
    DataMail = 211,
    DataWeather = 218,
    DataSeparator = 150,
    // The five report days, in day order 0..4.
    DataReportDay0 = 224,
    DataReportDay1 = 220,
    DataReportDay2 = 221,
    DataReportDay3 = 222,
    DataReportDay4 = 223,
    // Under the place: why the last fetch failed, and how old the report is.
    DataWeatherFailure = 225,
    DataWeatherAge = 226,
};
constexpr int kReportDayData[5] = {DataReportDay0, DataReportDay1, DataReportDay2, DataReportDay3,
                                   DataReportDay4};

enum Icon : int {
    IconNewMail = 211,
    IconClockSync = 212,
    IconNormal = 213,
    IconCheckingMail = 214,
    IconNewNote = 220,
    IconCloseNotes = 221,
    IconShowNotes = 222,
    IconImport = 224,
    IconExport = 225,
    IconData = 226,
    IconOptions = 227,
    IconHelp = 228,
    IconHomepage = 229,
    IconNoteManager = 230,
    IconWeather = 241,
    IconWeatherPlace = 242,
    IconFirstCondition = 243, // 243..248: clear, partly cloudy, cloudy, rain, storm, fog
    IconLastCondition = 248,
    // The other picture of the flashing icon while a note rings without sound.
    IconRinging = 249,
};

} // namespace TrayId
