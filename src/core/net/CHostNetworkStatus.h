#pragma once

#include "net/INetworkStatus.h"

// Online when the host's own name resolves to an IPv4 address other than the loopback or the
// unspecified one.
class CHostNetworkStatus : public INetworkStatus {
public:
    bool IsOnline() override;
};
