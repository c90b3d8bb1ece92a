#include "core/win/SocketWait.h"

bool SetSocketBlocking(SOCKET socket, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ::ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

void SetBulkSocketBuffers(SOCKET socket) {
    constexpr int kBulkBufferBytes = 4 * 1024 * 1024;
    ::setsockopt(socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&kBulkBufferBytes),
                 sizeof kBulkBufferBytes);
    ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&kBulkBufferBytes),
                 sizeof kBulkBufferBytes);
}

void SetSocketTimeouts(SOCKET socket, uint32_t ms) {
    const DWORD value = ms;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), sizeof value);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&value), sizeof value);
}

int PendingSocketError(SOCKET socket) {
    int error = 0;
    int size = sizeof error;
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
        return ::WSAGetLastError();
    return error;
}

int WaitForConnect(SOCKET socket, uint32_t timeoutMs) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval timeout = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    int ready = ::select(0, nullptr, &writable, &failed, &timeout);
    if (ready == 0)
        return WSAETIMEDOUT;
    if (ready < 0)
        return ::WSAGetLastError();
    int error = PendingSocketError(socket);
    if (error == 0 && FD_ISSET(socket, &failed))
        return WSAECONNREFUSED;
    return error;
}

int WaitReadable(SOCKET socket, uint32_t timeoutMs, bool exceptional) {
    fd_set readable;
    fd_set flagged;
    FD_ZERO(&readable);
    FD_ZERO(&flagged);
    FD_SET(socket, &readable);
    FD_SET(socket, &flagged);
    timeval timeout = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return ::select(0, &readable, nullptr, exceptional ? &flagged : nullptr, &timeout);
}
