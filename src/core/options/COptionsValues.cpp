#include "core/options/COptionsValues.h"

#include <algorithm>

namespace {
constexpr int kMaxMailInterval = 23 * 60 + 59;

std::string PlaceText(const COptionsValues& v) {
    return !v.zipCode.empty() ? v.zipCode : v.city + " " + v.state + ", " + v.country;
}
} // namespace

COptionsValues COptionsValues::From(const CSettings& s, const CHolidayTable& holidays) {
    COptionsValues v;
    v.alarmSound = s.m_alarmSound;
    v.wavePath = s.m_wavePath;
    v.checkSeconds = s.m_checkPeriod / 1000;
    v.stopAfterOn = s.m_stopAfter >= 1;
    v.stopAfterSeconds = v.stopAfterOn ? s.m_stopAfter : 60;
    v.countdownDefault = s.m_showCountdownDefault != 0;

    for (int i = 0; i < CSettings::kSchemes; ++i) {
        v.schemeFont[i] = s.m_schemeFont[i];
        v.schemeBack[i] = s.m_schemeBack[i];
        v.schemeText[i] = s.m_schemeText[i];
        v.schemeBorder[i] = std::clamp(s.m_schemeBorder[i], 0, 2);
    }
    v.selectedScheme = std::clamp(s.m_defaultScheme, 0, CSettings::kSchemes - 1);
    v.logEnabled = s.m_logEnabled == 1;

    v.mailAutoCheck = s.m_mailInterval >= 1;
    if (v.mailAutoCheck) {
        // The hours box holds 0 to 23: a longer stored interval shows as the longest it offers.
        const int interval = std::min(s.m_mailInterval, kMaxMailInterval);
        if (s.m_mailInterval > kMaxMailInterval) v.mailIntervalCutFrom = s.m_mailInterval;
        v.mailHours = interval / 60;
        v.mailMinutes = interval % 60;
    }

    for (int i = 0; i < CHolidayTable::kCount; ++i)
        v.holidayFlags[i] = holidays.entries[i].enabled;

    v.clockSync = s.m_clockSync == 1;
    v.weatherEnabled = s.m_weatherEnabled == 1;
    v.country = s.m_weather.m_country;
    v.state = s.m_weather.m_state;
    v.city = s.m_weather.m_city;
    v.zipCode = s.m_weather.m_zipCode;
    v.centigrade = s.m_weather.m_fahrenheit == 0;
    return v;
}

COptionsValues::Effects COptionsValues::ApplyTo(CSettings& s, CHolidayTable& holidays,
                                                const COleDateTime& now) const {
    Effects e;
    // "Wave file" without a file rings the speaker.
    s.m_alarmSound = CSettings::SoundSpeaker;
    if (alarmSound == CSettings::SoundWave && !wavePath.empty())
        s.m_alarmSound = CSettings::SoundWave;
    else if (alarmSound == CSettings::SoundMute)
        s.m_alarmSound = CSettings::SoundMute;
    s.m_wavePath = wavePath;
    s.m_checkPeriod = CSettings::CheckPeriodWithin(checkSeconds * 1000);
    s.m_stopAfter = stopAfterOn ? std::clamp(stopAfterSeconds, 1, 600) : 0;
    s.m_showCountdownDefault = countdownDefault ? 1 : 0;

    for (int i = 0; i < CSettings::kSchemes; ++i) {
        s.m_schemeFont[i] = schemeFont[i];
        s.m_schemeBack[i] = schemeBack[i];
        s.m_schemeText[i] = schemeText[i];
        s.m_schemeBorder[i] = schemeBorder[i];
    }
    s.m_defaultScheme = std::clamp(selectedScheme, 0, CSettings::kSchemes - 1);
    s.m_logEnabled = logEnabled ? 1 : 0;

    int interval = mailAutoCheck ? mailHours * 60 + mailMinutes : 0;
    if (interval < 1) interval = 0;
    s.m_mailInterval = interval;
    s.m_lastMailCheck = now;
    if (interval > 0) {
        e.mailCountdownSet = true;
        e.mailCountdownMs = interval * 60000;
    }

    for (int i = 0; i < CHolidayTable::kCount; ++i)
        holidays.entries[i].enabled = holidayFlags[i] ? 1 : 0;

    e.clockSyncTurnedOn = clockSync && s.m_clockSync != 1;
    s.m_clockSync = clockSync ? 1 : 0;

    e.weatherPlaceChanged = weatherEnabled && s.m_weatherEnabled != 1;
    s.m_weatherEnabled = weatherEnabled ? 1 : 0;
    if (weatherEnabled) {
        CWeather& w = s.m_weather;
        const bool placeChanged = w.m_country != country || w.m_state != state ||
                                  w.m_city != city || w.m_zipCode != zipCode;
        // A report in the other unit is as stale as one for another place.
        const bool unitChanged = (w.m_fahrenheit == 0) != centigrade;
        if (placeChanged || unitChanged) {
            w.m_dayName[0].clear();
            e.weatherPlaceChanged = true;
        }
        w.m_country = country;
        w.m_state = state;
        w.m_city = city;
        w.m_zipCode = zipCode;
        // The place line keeps the name the service reported until the place itself changes.
        if (placeChanged || w.m_place.empty()) w.m_place = PlaceText(*this);
        w.m_fahrenheit = centigrade ? 0 : 1;
    }
    return e;
}

void COptionsValues::ResetSchemes() {
    const CSettings fresh;
    for (int i = 0; i < CSettings::kSchemes; ++i) {
        schemeFont[i] = fresh.m_schemeFont[i];
        schemeBack[i] = fresh.m_schemeBack[i];
        schemeText[i] = fresh.m_schemeText[i];
        schemeBorder[i] = fresh.m_schemeBorder[i];
    }
}

void COptionsValues::ReadSide(const CSideSettings& side) {
    classicServerSet = !side.classicWeatherServer.empty();
    weatherSource = side.weatherSource;
    desktopNotifications = side.desktopNotifications;
    backupKeep = side.backupKeep;
    syncFolder = side.syncFolder;
}

void COptionsValues::WriteSide(CSideSettings& side) const {
    side.weatherSource = weatherSource;
    side.desktopNotifications = desktopNotifications;
    side.backupKeep = backupKeep;
    side.syncFolder = syncFolder;
}
