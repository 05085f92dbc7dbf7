#include "net/SideEndpoints.h"

#include "platform/ProgramFolder.h"
#include "storage/CSideConfig.h"

NetEndpoints SideEndpoints::Read(NetEndpoints e) {
    CSideConfig config;
    config.Load(ProgramFolder() + CSideConfig::kFileName);
    e.timeServer = config.Get(CSideConfig::kTimeServer, e.timeServer);
    e.classicWeatherServer = config.Get(CSideConfig::kClassicWeatherServer, e.classicWeatherServer);
    e.geocodingServer = config.Get(CSideConfig::kGeocodingServer, e.geocodingServer);
    e.forecastServer = config.Get(CSideConfig::kForecastServer, e.forecastServer);
    return e;
}
