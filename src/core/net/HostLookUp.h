#pragma once

#include <atomic>
#include <netinet/in.h>
#include <string>

// The first IPv4 address of host (a dotted address or a name). The system's resolver cannot
// be interrupted: it runs on a thread of its own that is left to finish alone when the caller
// gives up (cancel raised, or timeoutMs over), so a resolver that never answers holds neither
// a check nor the program's exit. False with the socket layer's last error set
// (SocketError::kCancelled, kTimedOut, kInvalidArgument for a name that does not resolve).
bool LookUpIPv4(const std::string& host, in_addr& address, const std::atomic<bool>* cancel,
                int timeoutMs);
