#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <string>

#include "core/win/Handles.h"

// Plain UDP sockets for tests that play the peer of a UDP service.

inline sockaddr_in Address(const char* ip, uint16_t port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip, &address.sin_addr);
    return address;
}

// A UDP socket bound to ip:port with one socket option set (0: none); invalid when the bind failed.
inline UniqueSocket BoundUdp(const char* ip, uint16_t port, int option) {
    UniqueSocket s(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    if (option != 0) {
        BOOL on = TRUE;
        ::setsockopt(s.Get(), SOL_SOCKET, option, reinterpret_cast<const char*>(&on), sizeof on);
    }
    sockaddr_in address = Address(ip, port);
    if (!s.Valid() || ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UniqueSocket();
    return s;
}

// The port a bound socket got.
inline uint16_t BoundPort(SOCKET s) {
    sockaddr_in address = {};
    int size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

inline bool SendDatagramFrom(SOCKET s, const char* toIp, uint16_t port, const void* data, size_t size) {
    sockaddr_in to = Address(toIp, port);
    return ::sendto(s, static_cast<const char*>(data), static_cast<int>(size), 0,
                    reinterpret_cast<const sockaddr*>(&to), sizeof to) == static_cast<int>(size);
}

inline bool SendDatagram(const char* fromIp, const char* toIp, uint16_t port, const std::string& text) {
    UniqueSocket s = BoundUdp(fromIp, 0, 0);
    return s.Valid() && SendDatagramFrom(s.Get(), toIp, port, text.data(), text.size());
}
