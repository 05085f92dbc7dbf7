#include "core/net/CHostNetworkStatus.h"

#include <fstream>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sstream>

namespace {

constexpr unsigned long kRouteUp = 0x0001, kRouteReject = 0x0200;

bool ReadFile(const char* path, std::string& text) {
    std::ifstream in(path);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool IsLinkLocal(const sockaddr* a) {
    if (a->sa_family != AF_INET6) return false;
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(a);
    return IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr);
}

// A route is a default one when it leads everywhere, is up and does not reject.
bool IsDefault(const std::string& destination, const std::string& mask, const std::string& flags) {
    if (destination.find_first_not_of('0') != std::string::npos ||
        mask.find_first_not_of('0') != std::string::npos)
        return false;
    const unsigned long f = std::stoul(flags, nullptr, 16);
    return (f & kRouteUp) && !(f & kRouteReject);
}

} // namespace

bool CHostNetworkStatus::HasDefaultRoute(const std::string& route, const std::string& ipv6Route,
                                         const std::set<std::string>& interfaces) {
    try {
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ..., after a heading line.
        std::istringstream v4(route);
        std::string line;
        std::getline(v4, line);
        while (std::getline(v4, line)) {
            std::istringstream f(line);
            std::string iface, destination, gateway, flags, refs, use, metric, mask;
            if (f >> iface >> destination >> gateway >> flags >> refs >> use >> metric >> mask &&
                interfaces.count(iface) && IsDefault(destination, mask, flags))
                return true;
        }
        // Destination prefix-length Source prefix-length Next-hop Metric Refs Use Flags Iface.
        std::istringstream v6(ipv6Route);
        while (std::getline(v6, line)) {
            std::istringstream f(line);
            std::string destination, length, source, sourceLength, hop, metric, refs, use, flags,
                iface;
            if (f >> destination >> length >> source >> sourceLength >> hop >> metric >> refs >>
                    use >> flags >> iface &&
                interfaces.count(iface) && IsDefault(destination, length, flags))
                return true;
        }
    } catch (const std::exception&) {
        // A line the kernel would not write: not a default route.
    }
    return false;
}

bool CHostNetworkStatus::IsOnline() {
    std::string route, ipv6Route;
    const bool v4 = ReadFile("/proc/net/route", route);
    const bool v6 = ReadFile("/proc/net/ipv6_route", ipv6Route);
    ifaddrs* list = nullptr;
    if ((!v4 && !v6) || getifaddrs(&list) != 0) return true; // in doubt: try
    std::set<std::string> interfaces;
    for (const ifaddrs* i = list; i; i = i->ifa_next)
        if (i->ifa_addr && (i->ifa_flags & IFF_UP) && !(i->ifa_flags & IFF_LOOPBACK) &&
            (i->ifa_addr->sa_family == AF_INET ||
             (i->ifa_addr->sa_family == AF_INET6 && !IsLinkLocal(i->ifa_addr))))
            interfaces.insert(i->ifa_name);
    freeifaddrs(list);
    return HasDefaultRoute(route, ipv6Route, interfaces);
}
