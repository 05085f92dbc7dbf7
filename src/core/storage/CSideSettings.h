#pragma once

#include "core/storage/CSideConfig.h"

#include <string>

// The settings "Note.Dat" has no field for, typed, each with its default and its bounds in one
// place. The only reader and writer of "jotterly.conf" beside the data file (whose lines
// CSideConfig keeps).
class CSideSettings {
public:
    static constexpr const char* kOpenMeteo = "open-meteo";
    static constexpr const char* kClassic = "classic";
    static constexpr int kDefaultBackupKeep = 7, kMinBackupKeep = 1, kMaxBackupKeep = 365;

    // The classic source has no public server: without one of its own the default is used.
    std::string weatherSource = kOpenMeteo;
    // Base addresses ("http://host:port") in place of the built-in servers; empty: built in.
    std::string timeServer, classicWeatherServer, geocodingServer, forecastServer;
    bool desktopNotifications = true; // a ringing note also shows a desktop notice
    // Daily backups kept; a value out of range or mistyped by hand keeps the default rather
    // than no backups.
    int backupKeep = kDefaultBackupKeep;
    std::string syncFolder;  // without the trailing slash; empty: no sync folder
    std::string syncCommand; // what "Sync Now" runs; empty: no such item
    bool closedHintShown = false;

    // folder: where the file lies, with the trailing slash. A missing file gives the defaults.
    static CSideSettings Load(const std::string& folder);
    // False for a file that is there but could not be read: Save leaves such a file alone.
    bool Readable() const { return m_readable; }
    // Writes the settings that differ from the file's, keeping its comments, unknown lines and
    // order. False with a reason when it could not.
    bool Save(const std::string& folder, std::string* reason = nullptr) const;

    // The fingerprint of the certificate trusted for an account's key (see CMailCheck).
    std::string TrustedCertificate(const std::string& key) const;
    void TrustCertificate(const std::string& key, const std::string& fingerprint);

private:
    void ReadFrom(const CSideConfig& file);

    CSideConfig m_file; // as read, with what the typed fields do not cover
    bool m_readable = true;
    bool m_fileChanged = false; // a key the typed fields do not cover was set
};
