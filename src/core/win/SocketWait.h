#pragma once

#include <winsock2.h>

#include <cstdint>

// Non-blocking socket steps shared by the TCP channels: a connect or a read waited on with select, and the
// switch between blocking and non-blocking mode.

// FIONBIO; false (WSAGetLastError set) when it fails.
bool SetSocketBlocking(SOCKET socket, bool blocking);

// Send and receive buffers of a bulk transfer socket: large enough that a fast link is not held up by the
// round trips of small windows. Best effort: a refused size keeps the system's.
void SetBulkSocketBuffers(SOCKET socket);

// SO_RCVTIMEO and SO_SNDTIMEO: a blocking receive or send gives up after ms.
void SetSocketTimeouts(SOCKET socket, uint32_t ms);

// The socket's pending error (SO_ERROR), or the error of the getsockopt call itself.
int PendingSocketError(SOCKET socket);

// Waits up to timeoutMs for a non-blocking connect in progress: 0 when connected, WSAETIMEDOUT after the
// time-out, else the Winsock error. Windows reports a refused connect in the exception set, not as
// writable, so both are watched: a refusal then fails at once instead of after the whole time-out.
int WaitForConnect(SOCKET socket, uint32_t timeoutMs);

// One wait of at most timeoutMs for the socket to be readable (or flagged): 1 ready, 0 time-out,
// SOCKET_ERROR on failure.
int WaitReadable(SOCKET socket, uint32_t timeoutMs, bool exceptional = false);
