#include "core/win/SocketAddress.h"

#include <ws2tcpip.h>

std::string DottedIpv4(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text) == nullptr)
        return std::string();
    return text;
}
