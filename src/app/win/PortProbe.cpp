#include "app/win/PortProbe.h"

#include "core/Log.h"
#include "core/win/CloseHelpers.h"
#include "core/win/Handles.h"

namespace {

// 0 when the port could be bound, else the Winsock error. The probe socket is closed under the probe's name.
int TryBind(int type, int protocol, const char* label, uint16_t port) {
    UniqueSocket s(::socket(AF_INET, type, protocol));
    if (!s.Valid())
        return ::WSAGetLastError();
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    int wsa =
        ::bind(s.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 ? 0 : ::WSAGetLastError();
    CloseSocketLogged(s.Release(), label);
    return wsa;
}

} // namespace

void CanBindUdpPort(const char* label, uint16_t port) {
    int wsa = TryBind(SOCK_DGRAM, IPPROTO_UDP, label, port);
    const char* result = wsa == 0               ? "OK"
                         : wsa == WSAEACCES     ? "ACCESS_DENIED_OR_EXCLUDED"
                         : wsa == WSAEADDRINUSE ? "BUSY"
                                                : "BUSY/FAIL";
    Log::Write("[NET][BIND] udp %s port=%u %s wsa=%d", label, unsigned(port), result, wsa);
}

void CanBindTcpPort(const char* label, uint16_t port) {
    int wsa = TryBind(SOCK_STREAM, IPPROTO_TCP, label, port);
    Log::Write("[NET][BIND] tcp %-10s port=%u %s wsa=%d", label, unsigned(port),
               wsa == 0 ? "OK" : "BUSY/FAIL", wsa);
}
