#pragma once

#include "core/net/INetworkStatus.h"

#include <set>
#include <string>

// Online when an interface other than the loopback is up with an address and the kernel routes
// by default through it (IPv4 or IPv6). The host's own name says nothing: many systems map it to
// 127.0.0.1 or 127.0.1.1 in /etc/hosts. When the route tables cannot be read the answer is
// online: a check then tries the network and fails quietly, rather than waiting for ever.
class CHostNetworkStatus : public INetworkStatus {
public:
    bool IsOnline() override;

    // The decision from the kernel's tables: route and ipv6Route hold /proc/net/route and
    // /proc/net/ipv6_route; interfaces are the names of the interfaces that are up with an
    // address, the loopback excluded.
    static bool HasDefaultRoute(const std::string& route, const std::string& ipv6Route,
                                const std::set<std::string>& interfaces);
};
