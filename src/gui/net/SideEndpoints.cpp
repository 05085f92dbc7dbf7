#include "gui/net/SideEndpoints.h"

#include "core/storage/CSideSettings.h"

NetEndpoints SideEndpoints::Read(NetEndpoints e, const CSideSettings& side) {
    for (auto [to, from] : {std::pair{&e.timeServer, &side.timeServer},
                            {&e.classicWeatherServer, &side.classicWeatherServer},
                            {&e.geocodingServer, &side.geocodingServer},
                            {&e.forecastServer, &side.forecastServer}})
        if (!from->empty()) *to = *from;
    return e;
}
