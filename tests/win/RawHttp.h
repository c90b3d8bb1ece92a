#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LoopbackSocket.h"
#include "core/win/Handles.h"

// A plain HTTP client over a raw loopback socket, for tests that want to see the server's bytes as they are.
namespace raw_http {

// What a raw client got back: the status line, the header block and the body.
struct RawResponse {
    std::string all;
    std::string Status() const { return all.substr(0, all.find("\r\n")); }
    std::string Header() const {
        size_t end = all.find("\r\n\r\n");
        return end == std::string::npos ? all : all.substr(0, end + 4);
    }
    std::string Body() const {
        size_t end = all.find("\r\n\r\n");
        return end == std::string::npos ? std::string() : all.substr(end + 4);
    }
};

// A loopback connection whose receives give up after 8 s, so a server that stops answering fails the test
// instead of hanging it.
inline UniqueSocket ConnectWithReceiveTimeout(uint16_t port) {
    UniqueSocket socket = ConnectLoopback(port);
    DWORD timeout = 8000;
    if (socket.Valid())
        ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                     sizeof timeout);
    return socket;
}

inline std::string GetRequest(const std::string& target) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

// Sends the request in the given pieces and reads until the server closes (or the 8 s time-out).
inline RawResponse Exchange(uint16_t port, const std::vector<std::string>& pieces) {
    RawResponse response;
    UniqueSocket socket = ConnectWithReceiveTimeout(port);
    if (!socket.Valid())
        return response;
    for (const std::string& piece : pieces) {
        ::send(socket.Get(), piece.data(), static_cast<int>(piece.size()), 0);
        if (pieces.size() > 1)
            Sleep(30);
    }
    char buffer[65536];
    for (;;) {
        int got = ::recv(socket.Get(), buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        response.all.append(buffer, static_cast<size_t>(got));
    }
    return response;
}

inline RawResponse Get(uint16_t port, const std::string& target) {
    return Exchange(port, {GetRequest(target)});
}

} // namespace raw_http
