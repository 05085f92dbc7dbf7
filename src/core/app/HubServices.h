#pragma once

class IClockSyncService;
class IMailService;
class IManagerService;
class INetworkStatus;
class IOptionsService;
class ISyncService;
class IWeatherService;

// The features the hub starts but does not run itself. None is owned; a missing one makes its
// command do nothing (a mail check then ends at once).
struct HubServices {
    IManagerService* manager = nullptr;
    IOptionsService* options = nullptr;
    IMailService* mail = nullptr;
    IWeatherService* weather = nullptr;
    IClockSyncService* clock = nullptr;
    INetworkStatus* network = nullptr; // null: the host's own name is looked up
    ISyncService* sync = nullptr;
};
