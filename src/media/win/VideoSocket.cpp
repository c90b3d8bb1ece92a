#include "media/win/VideoSocket.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "core/Log.h"
#include "core/StallScope.h"
#include "media/VideoFrameHeader.h"

namespace {

void SetIntOption(SOCKET socket, int level, int name, int value) {
    ::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

// 0 when the socket has room before deadlineMs, else the error (WSAETIMEDOUT when the time ran out).
int WaitWritable(SOCKET socket, uint64_t deadlineMs) {
    const uint64_t now = ::GetTickCount64();
    if (now >= deadlineMs)
        return WSAETIMEDOUT;
    const uint64_t leftMs = deadlineMs - now;
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    timeval timeout = {static_cast<long>(leftMs / 1000), static_cast<long>(leftMs % 1000) * 1000};
    const int ready = ::select(0, nullptr, &writable, nullptr, &timeout);
    if (ready < 0)
        return ::WSAGetLastError();
    return ready == 0 ? WSAETIMEDOUT : 0;
}

} // namespace

void ConfigureVideoSocket(SOCKET socket) {
    SetIntOption(socket, SOL_SOCKET, SO_SNDBUF, kVideoSocketBufferBytes);
    SetIntOption(socket, SOL_SOCKET, SO_RCVBUF, kVideoSocketBufferBytes);
    SetIntOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
    SetIntOption(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
}

bool SendAll(SOCKET socket, const uint8_t* data, size_t size, uint64_t deadlineMs) {
    StallScope stall("VideoNetwork", "SendAll", 100);
    size_t sent = 0;
    while (sent < size) {
        const int piece = static_cast<int>(std::min(size - sent, kVideoSendPieceBytes));
        const int result = ::send(socket, reinterpret_cast<const char*>(data + sent), piece, 0);
        if (result > 0) {
            sent += static_cast<size_t>(result);
            continue;
        }
        int wsa = result < 0 ? ::WSAGetLastError() : 0;
        if (wsa == WSAEWOULDBLOCK) {
            wsa = WaitWritable(socket, deadlineMs);
            if (wsa == 0)
                continue;
        }
        Log::Write("TCP video send failed sent_total=%zu size=%zu wsa=%d", sent, size, wsa);
        return false;
    }
    return true;
}
