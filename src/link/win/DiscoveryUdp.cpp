#include "link/win/DiscoveryUdp.h"

#include <ws2tcpip.h>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "link/ControlMessage.h"

namespace Discovery {

namespace {

constexpr int kDatagramsPerCall = 16;
constexpr int kDatagramMaxBytes = 1023;
constexpr DWORD kErrorSleepMs = 20;
constexpr uint32_t kBroadcastFailureLogMs = 10000;
constexpr const char* kSocketLabel = "Discovery UDP";

const char* BindFailureWord(int wsa) {
    if (wsa == WSAEACCES)
        return "ACCESS_DENIED_OR_EXCLUDED";
    if (wsa == WSAEADDRINUSE)
        return "BUSY";
    return "BUSY/FAIL";
}

bool SetFlag(SOCKET socket, int option) {
    BOOL on = TRUE;
    return ::setsockopt(socket, SOL_SOCKET, option, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

const char* RoleLabel(DiscoverySocketRole role) {
    return role == DiscoverySocketRole::Primary ? "primary" : "legacy";
}

uint16_t PortOf(DiscoverySocketRole role) {
    return role == DiscoverySocketRole::Primary ? kDiscoveryPrimaryPort : kDiscoveryLegacyPort;
}

} // namespace

UniqueSocket BindDiscoveryUdp(uint16_t port, const char* role) {
    UniqueSocket socket(::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
    int wsa = socket.Valid() ? 0 : ::WSAGetLastError();
    if (wsa == 0) {
        SetFlag(socket.Get(), SO_BROADCAST);
        if (!BindReusableAny(socket.Get(), port) || !SetSocketBlocking(socket.Get(), false))
            wsa = ::WSAGetLastError();
    }
    if (wsa != 0) {
        if (socket.Valid())
            CloseSocketLogged(socket.Release(), kSocketLabel);
        Log::Write("[NET][BIND] udp discovery-%s port=%u %s wsa=%d", role, static_cast<unsigned>(port),
                   BindFailureWord(wsa), wsa);
        return UniqueSocket();
    }
    Log::Write("[NET][BIND] udp discovery-%s port=%u OK wsa=0", role, static_cast<unsigned>(port));
    Log::Write("[DISCOVERY][BIND] role=%s port=%u OK", role, static_cast<unsigned>(port));
    return socket;
}

void ReceiveDiscoveryMessages(SOCKET socket, const DatagramSink& sink) {
    if (socket == INVALID_SOCKET)
        return;
    char buffer[kDatagramMaxBytes + 1];
    for (int i = 0; i < kDatagramsPerCall; ++i) {
        sockaddr_in from = {};
        int fromSize = sizeof from;
        int got =
            ::recvfrom(socket, buffer, kDatagramMaxBytes, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (got == SOCKET_ERROR) {
            if (::WSAGetLastError() != WSAEWOULDBLOCK)
                ::Sleep(kErrorSleepMs);
            return;
        }
        buffer[got] = '\0';
        char ip[INET_ADDRSTRLEN] = {};
        if (::inet_ntop(AF_INET, &from.sin_addr, ip, sizeof ip) == nullptr)
            ip[0] = '\0';
        sink(std::string_view(buffer, static_cast<size_t>(got)), std::string(ip));
    }
}

UniqueSocket& DiscoveryUdp::SocketOf(DiscoverySocketRole role) {
    return role == DiscoverySocketRole::Primary ? m_primary : m_legacy;
}

const UniqueSocket& DiscoveryUdp::SocketOf(DiscoverySocketRole role) const {
    return role == DiscoverySocketRole::Primary ? m_primary : m_legacy;
}

bool DiscoveryUdp::IsOpen(DiscoverySocketRole role) const {
    return SocketOf(role).Valid();
}

bool DiscoveryUdp::Bind(DiscoverySocketRole role) {
    SocketOf(role) = BindDiscoveryUdp(PortOf(role), RoleLabel(role));
    return SocketOf(role).Valid();
}

void DiscoveryUdp::SendBroadcast(std::string_view message) {
    if (!m_primary.Valid())
        return;
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    ::inet_pton(AF_INET, kBroadcastAddress, &to.sin_addr);
    for (uint16_t port : {kDiscoveryPrimaryPort, kDiscoveryLegacyPort}) {
        to.sin_port = htons(port);
        if (::sendto(m_primary.Get(), message.data(), static_cast<int>(message.size()), 0,
                     reinterpret_cast<const sockaddr*>(&to), sizeof to) != SOCKET_ERROR)
            continue;
        int wsa = ::WSAGetLastError();
        const char* key =
            port == kDiscoveryPrimaryPort ? "Discovery broadcast primary" : "Discovery broadcast legacy";
        if (LogThrottle::Allow(key, kBroadcastFailureLogMs))
            Log::Write("Discovery broadcast %s port=%u failed wsa=%d", kBroadcastAddress,
                       static_cast<unsigned>(port), wsa);
    }
}

void DiscoveryUdp::Receive(DiscoverySocketRole role, const DatagramSink& sink) {
    ReceiveDiscoveryMessages(SocketOf(role).Get(), sink);
}

void DiscoveryUdp::CloseAll() {
    if (m_primary.Valid())
        CloseSocketLogged(m_primary.Release(), kSocketLabel);
    if (m_legacy.Valid())
        CloseSocketLogged(m_legacy.Release(), kSocketLabel);
}

} // namespace Discovery
