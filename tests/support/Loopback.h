#pragma once

#include <sys/socket.h>
#include <sys/types.h>

// Small helpers for tests that run real servers on 127.0.0.1 as child processes.

// A socket of the type bound to the loopback port (0: the kernel's choice, stored in port);
// -1 on failure.
int BindLoopback(unsigned short& port, int type);
// A loopback port of the socket type nobody uses now (the kernel's choice for a socket bound
// to port 0); 0 if none could be had.
unsigned short FreeLoopbackPort(int type = SOCK_STREAM);
// A socket listening on a kernel-chosen loopback port (stored in port); -1 on failure.
int ListenOnLoopback(unsigned short& port, int backlog = 4);
// Whether something accepts connections on the loopback port.
bool LoopbackAccepts(unsigned short port);
void SleepMs(long long ms);
// Ends the child with SIGTERM, with SIGKILL after 5 s, reaps it and sets pid to -1.
void StopChild(pid_t& pid);
