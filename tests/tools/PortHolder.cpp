// Holds a port for another process's tests:
//   PortHolder <port> <readyEvent> <quitEvent>
// binds UDP and TCP (listening) on INADDR_ANY:<port>, signals readyEvent, and keeps both until quitEvent is
// signalled or 60 s have passed. Exit 0, or 1 when a bind failed.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

SOCKET BindAny(int type, int protocol, unsigned short port) {
    SOCKET s = socket(AF_INET, type, protocol);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        (type == SOCK_STREAM && listen(s, 1) != 0)) {
        std::fprintf(stderr, "PortHolder: bind failed wsa=%d\n", WSAGetLastError());
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: PortHolder port readyEvent quitEvent\n");
        return 2;
    }
    auto port = static_cast<unsigned short>(std::wcstoul(argv[1], nullptr, 10));
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    WSADATA data;
    if (ready == nullptr || quit == nullptr || WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 2;
    SOCKET udp = BindAny(SOCK_DGRAM, IPPROTO_UDP, port);
    SOCKET tcp = BindAny(SOCK_STREAM, IPPROTO_TCP, port);
    int rc = udp != INVALID_SOCKET && tcp != INVALID_SOCKET ? 0 : 1;
    SetEvent(ready);
    if (rc == 0)
        WaitForSingleObject(quit, 60000);
    closesocket(udp);
    closesocket(tcp);
    WSACleanup();
    CloseHandle(ready);
    CloseHandle(quit);
    return rc;
}
