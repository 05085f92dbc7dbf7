#pragma once

// Whether the computer is connected, asked before each automatic network check.
class INetworkStatus {
public:
    virtual ~INetworkStatus() = default;
    virtual bool IsOnline() = 0;
};
