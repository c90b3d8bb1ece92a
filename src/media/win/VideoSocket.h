#pragma once

#include <winsock2.h>

#include <cstddef>
#include <cstdint>

// Socket steps shared by the video sender and receiver.

// SO_SNDBUF and SO_RCVBUF 4 MiB, TCP_NODELAY 1, SO_KEEPALIVE 1; results ignored. Applied to the sender's
// socket before it connects, to the listening socket and to every accepted one.
void ConfigureVideoSocket(SOCKET socket);

// Sends every byte on a non-blocking socket in pieces of at most 256 KiB, waiting for room with select
// until deadlineMs (GetTickCount64). False when a send fails or the deadline passes (wsa WSAETIMEDOUT),
// logged as "TCP video send failed sent_total=%zu size=%zu wsa=%d". Stall scope ("VideoNetwork",
// "SendAll", 100 ms).
bool SendAll(SOCKET socket, const uint8_t* data, size_t size, uint64_t deadlineMs);
