#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/win/Handles.h"
#include "core/win/SocketWait.h"

// Raw loopback sockets for tests that play the far end of a channel.

// A TCP socket connected to 127.0.0.1:port; invalid when the connect failed.
inline UniqueSocket ConnectLoopback(uint16_t port) {
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UniqueSocket();
    return s;
}

// Binds s to 127.0.0.1 with a port the system chooses and listens: the port, or 0 when a step failed.
inline uint16_t ListenLoopback(SOCKET s, int backlog) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, backlog) != 0 || ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    return ntohs(address.sin_port);
}

// The next connection on a listener, waited for at most timeoutMs; invalid when none came.
inline UniqueSocket AcceptWithin(SOCKET listener, DWORD timeoutMs) {
    if (WaitReadable(listener, timeoutMs) != 1)
        return UniqueSocket();
    return UniqueSocket(::accept(listener, nullptr, nullptr));
}

// Whether one send took every byte.
inline bool SendBytes(SOCKET s, const void* data, size_t size) {
    return ::send(s, static_cast<const char*>(data), static_cast<int>(size), 0) == static_cast<int>(size);
}

// One receive of up to size bytes once they come, waiting until timeoutMs after start at the most: the
// count, 0 when the peer closed or below 0 on an error; nothing when the time ran out first.
inline std::optional<int> ReceiveBefore(SOCKET s, void* buffer, size_t size, DWORD start, DWORD timeoutMs) {
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs)
            return std::nullopt;
        const int ready = WaitReadable(s, timeoutMs - spent);
        if (ready == 0)
            continue;
        if (ready < 0)
            return -1;
        return ::recv(s, static_cast<char*>(buffer), static_cast<int>(size), 0);
    }
}

// A loopback listener that never accepts, with its backlog filled: further connection attempts get no
// answer, so a connect to it stays pending.
class SilentListener {
public:
    SilentListener() : m_listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        m_port = ListenLoopback(m_listener.Get(), 1);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_port);
        for (UniqueSocket& filler : m_fillers) {
            filler.Reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
            SetSocketBlocking(filler.Get(), false);
            ::connect(filler.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        Sleep(100);
    }
    uint16_t Port() const { return m_port; }

private:
    UniqueSocket m_listener;
    UniqueSocket m_fillers[4];
    uint16_t m_port = 0;
};
