#include "core/storage/CSideSettings.h"

#include "core/platform/IntegerField.h"

#include <filesystem>
#include <system_error>

namespace {
constexpr const char* kClosedHintShown = "closed_note_hint_shown";
} // namespace

void CSideSettings::ReadFrom(const CSideConfig& file) {
    timeServer = file.Get(CSideConfig::kTimeServer, "");
    classicWeatherServer = file.Get(CSideConfig::kClassicWeatherServer, "");
    geocodingServer = file.Get(CSideConfig::kGeocodingServer, "");
    forecastServer = file.Get(CSideConfig::kForecastServer, "");
    weatherSource = !classicWeatherServer.empty() &&
                            file.Get(CSideConfig::kWeatherSource, kOpenMeteo) == kClassic
                        ? kClassic
                        : kOpenMeteo;
    desktopNotifications = file.Get(CSideConfig::kDesktopNotifications, "1") != "0";
    backupKeep = kDefaultBackupKeep;
    ParseIntegerField(file.Get(CSideConfig::kBackupKeep, ""), kMinBackupKeep, kMaxBackupKeep,
                      backupKeep);
    syncFolder = file.Get(CSideConfig::kSyncFolder, "");
    while (syncFolder.size() > 1 && syncFolder.back() == '/')
        syncFolder.pop_back();
    syncCommand = file.Get(CSideConfig::kSyncCommand, "");
    closedHintShown = file.Get(kClosedHintShown, "0") == "1";
}

CSideSettings CSideSettings::Load(const std::string& folder) {
    CSideSettings settings;
    const std::string path = folder + CSideConfig::kFileName;
    std::error_code ec;
    // A link that leads nowhere readable is there all the same.
    settings.m_readable =
        settings.m_file.Load(path) ||
        std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found;
    settings.ReadFrom(settings.m_file);
    return settings;
}

bool CSideSettings::Save(const std::string& folder, std::string* reason) const {
    const std::string path = folder + CSideConfig::kFileName;
    if (!m_readable) {
        // Its other settings would be lost with it.
        if (reason) *reason = "it could not be read, so it was not changed";
        return false;
    }
    CSideSettings stored;
    stored.ReadFrom(m_file);
    CSideConfig file = m_file;
    bool changed = false;
    // Only what changed is written: a line typed by hand that reads as its default stays.
    auto set = [&](const char* key, const auto& now, const auto& before, std::string text) {
        if (now == before) return;
        file.Set(key, text);
        changed = true;
    };
    set(CSideConfig::kWeatherSource, weatherSource, stored.weatherSource, weatherSource);
    set(CSideConfig::kTimeServer, timeServer, stored.timeServer, timeServer);
    set(CSideConfig::kClassicWeatherServer, classicWeatherServer, stored.classicWeatherServer,
        classicWeatherServer);
    set(CSideConfig::kGeocodingServer, geocodingServer, stored.geocodingServer, geocodingServer);
    set(CSideConfig::kForecastServer, forecastServer, stored.forecastServer, forecastServer);
    set(CSideConfig::kDesktopNotifications, desktopNotifications, stored.desktopNotifications,
        desktopNotifications ? "1" : "0");
    set(CSideConfig::kBackupKeep, backupKeep, stored.backupKeep, std::to_string(backupKeep));
    set(CSideConfig::kSyncFolder, syncFolder, stored.syncFolder, syncFolder);
    set(CSideConfig::kSyncCommand, syncCommand, stored.syncCommand, syncCommand);
    set(kClosedHintShown, closedHintShown, stored.closedHintShown, closedHintShown ? "1" : "0");
    return !(changed || m_fileChanged) || file.Save(path, reason);
}

std::string CSideSettings::TrustedCertificate(const std::string& key) const {
    return m_file.Get(key, "");
}

void CSideSettings::TrustCertificate(const std::string& key, const std::string& fingerprint) {
    m_file.Set(key, fingerprint);
    m_fileChanged = true;
}
