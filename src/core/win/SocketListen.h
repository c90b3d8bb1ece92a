#pragma once

#include <winsock2.h>

#include <cstdint>

// SO_REUSEADDR on, so a restarted server gets its port back at once, then a bind to 0.0.0.0:port (port 0:
// the system chooses). False (WSAGetLastError set by bind) when the bind fails.
bool BindReusableAny(SOCKET socket, uint16_t port);
