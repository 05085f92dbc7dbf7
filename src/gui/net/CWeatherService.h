#pragma once

#include "core/net/CWeatherFetcher.h"
#include "core/net/IWeatherService.h"
#include "core/net/NetEndpoints.h"

#include <QObject>
#include <atomic>
#include <thread>

class IWeatherHost;

// Fetches the weather report on a worker thread; the result is taken back on the GUI thread,
// so the user interface never waits for the network.
class CWeatherService : public QObject, public IWeatherService {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 7200000;
    // After a failure the report is tried again this much later.
    static constexpr int kRetryMs = 1800000;
    // A place changed while a fetch ran has its own report this much later.
    static constexpr int kNewPlaceMs = 5000;

    explicit CWeatherService(IWeatherHost& hub) : m_hub(hub) {}
    ~CWeatherService() override;

    void SetEndpoints(const NetEndpoints& endpoints) { m_endpoints = endpoints; }
    void SetTimeoutMs(long ms) { m_timeoutMs = ms; }
    // The source named in jotterly.conf beside "Note.Dat"; Open-Meteo unless "classic".
    WeatherSource Source() const;
    // The endpoints set here, with any server that jotterly.conf names instead.
    NetEndpoints Endpoints() const;

    void CheckWeather(bool manual) override;
    std::string LastFailure() const override { return m_failure; }
    bool FetchRunning() const override { return !m_done; }

signals:
    void finished(bool ok);

private:
    void Finish(bool ok, const CWeather& report, const std::string& failure, bool manual);

    IWeatherHost& m_hub;
    NetEndpoints m_endpoints;
    long m_timeoutMs = 15000;
    std::thread m_worker;
    std::atomic<bool> m_stop{false}; // raised when the program closes: the fetch ends at once
    bool m_done = true;
    std::string m_failure; // of the last fetch, for the menu
};
