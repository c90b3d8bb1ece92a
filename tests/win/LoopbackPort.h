#pragma once

#include <winsock2.h>

#include <cstdint>

#include "core/win/Handles.h"

// A loopback TCP port that nothing holds right now: bound once to find it, then closed again.
inline uint16_t FreeLoopbackPort() {
    UniqueSocket s(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    ::getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}
