#pragma once

#include <map>
#include <string>
#include <vector>

// The settings "Note.Dat" has no field for, in "jotterly.conf" beside it: one "key=value" a
// line, '#' starts a comment line. A missing or unreadable file gives the defaults. A save keeps
// the comments and lines it does not understand.
class CSideConfig {
public:
    static constexpr const char* kFileName = "jotterly.conf";
    static constexpr const char* kWeatherSource = "weather_source";
    // Base addresses ("http://host:port") that replace the built-in servers, for a mirror or a
    // test server.
    static constexpr const char* kTimeServer = "time_server";
    static constexpr const char* kClassicWeatherServer = "classic_weather_server";
    static constexpr const char* kGeocodingServer = "geocoding_server";
    static constexpr const char* kForecastServer = "forecast_server";
    static constexpr const char* kBackupKeep = "backup_keep"; // daily backups kept
    // "1" (the default) or "0": a ringing note also shows a desktop notice.
    static constexpr const char* kDesktopNotifications = "desktop_notifications";
    // The folder notes are mirrored to as calendar files, and the command "Sync Now" runs.
    static constexpr const char* kSyncFolder = "sync_folder";
    static constexpr const char* kSyncCommand = "sync_command";

    bool Load(const std::string& path);
    // Atomic; false, with the reason, when it could not be written.
    bool Save(const std::string& path, std::string* reason = nullptr) const;

    std::string Get(const std::string& key, const std::string& fallback) const;
    void Set(const std::string& key, const std::string& value);

private:
    // The key of a "key=value" line; empty for comments and other lines.
    static std::string KeyOf(const std::string& line);

    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_lines; // as read, so that a save keeps what it does not know
};
