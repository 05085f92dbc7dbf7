#include "net/CHostNetworkStatus.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <string>
#include <unistd.h>

bool CHostNetworkStatus::IsOnline() {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &result) != 0 || !result) return false;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr, text,
              sizeof text);
    freeaddrinfo(result);
    std::string first = text;
    return first != "0.0.0.0" && first != "127.0.0.1";
}
