#include "gui/net/CWeatherService.h"

#include "core/app/TrayIds.h"
#include "core/model/CSettings.h"
#include "core/net/IWeatherHost.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ITrayIcon.h"
#include "core/platform/PlatformServices.h"
#include "core/storage/CSideSettings.h"
#include "gui/net/SideEndpoints.h"

#include <QMetaObject>
#include <QtGlobal>

CWeatherService::~CWeatherService() {
    // Closing does not wait for a server that does not answer; the answer is dropped.
    m_stop = true;
    if (m_worker.joinable()) m_worker.join();
}

WeatherSource CWeatherService::Source() const {
    return m_hub.Side().weatherSource == CSideSettings::kClassic ? WeatherSource::Classic
                                                                 : WeatherSource::OpenMeteo;
}

NetEndpoints CWeatherService::Endpoints() const {
    return SideEndpoints::Read(m_endpoints, m_hub.Side());
}

void CWeatherService::CheckWeather(bool manual) {
    if (!m_done) return;
    if (m_worker.joinable()) m_worker.join(); // the last one has handed back its result
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconWeather, TrayId::kTip);
    m_done = false;
    m_worker = std::thread([this, request = m_hub.settings().m_weather, source = Source(),
                            endpoints = Endpoints(), timeout = m_timeoutMs, manual]() mutable {
        CWeatherFetcher fetcher(endpoints);
        fetcher.SetTimeoutMs(timeout);
        fetcher.SetStopFlag(&m_stop);
        const bool ok = fetcher.Fetch(request, source);
        QMetaObject::invokeMethod(
            this,
            [this, ok, request, manual, failure = fetcher.FailureText(request)] {
                Finish(ok, request, failure, manual);
            },
            Qt::QueuedConnection);
    });
}

void CWeatherService::Finish(bool ok, const CWeather& report, const std::string& failure,
                             bool manual) {
    m_done = true;
    CSettings& s = m_hub.settings();
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconNormal, TrayId::kTip);
    // A place changed in the options meanwhile is not given the old place's report.
    const bool samePlace =
        report.m_city == s.m_weather.m_city && report.m_state == s.m_weather.m_state &&
        report.m_country == s.m_weather.m_country && report.m_zipCode == s.m_weather.m_zipCode &&
        report.m_fahrenheit == s.m_weather.m_fahrenheit;
    if (!samePlace) {
        // The answer was for the old place: the new one is asked for soon, not a period later.
        m_failure.clear();
        m_hub.WeatherCountdown() = kNewPlaceMs;
    } else if (ok) {
        m_failure.clear();
        s.m_weather = report;
        s.m_lastWeatherCheck = Clock::Now();
        m_hub.WeatherCountdown() = kPeriodMs;
        m_hub.SaveData();
    } else {
        // The menu's weather lines show it; only a fetch the user asked for raises a box.
        m_failure = failure;
        m_hub.WeatherCountdown() = kRetryMs;
        if (IDialogs* dialogs = m_hub.Platform().dialogs; dialogs && manual)
            dialogs->MessageBox(failure, "Weather Report Not Updated", IDialogs::Ok,
                                IDialogs::Warning);
    }
    emit finished(ok);
}
