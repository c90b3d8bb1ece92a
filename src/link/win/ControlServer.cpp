#include "link/win/ControlServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/CloseHelpers.h"
#include "core/win/Handles.h"
#include "core/win/SocketAddress.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "link/DiscoveryRun.h"
#include "core/StateManager.h"
#include "link/win/ControlSender.h"

namespace Discovery {

namespace {

constexpr char kListenerLabel[] = "Discovery TCP control listener";
constexpr char kConnectionLabel[] = "Discovery TCP control";
constexpr int kListenBacklog = 8;
constexpr uint32_t kWouldBlockPollMs = 20;
constexpr uint32_t kErrorPollMs = 50;

class SocketConnection final : public IControlConnection {
public:
    explicit SocketConnection(SOCKET socket) : m_socket(socket) {}
    int Receive(char* buffer, int capacity, int& wsa) override {
        int got = ::recv(m_socket, buffer, capacity, 0);
        wsa = got < 0 ? ::WSAGetLastError() : 0;
        return got;
    }
    bool SendAll(std::string_view text, int& wsa) override { return SendAllSocket(m_socket, text, wsa); }
    void ShutdownSend() override { ::shutdown(m_socket, SD_SEND); }

private:
    SOCKET m_socket;
};

void ServeAccepted(UniqueSocket client, const sockaddr_in& from, IControlServerSink& sink,
                   const DiscoveryRun& run) {
    const std::string ip = DottedIpv4(from);
    if (!SetSocketBlocking(client.Get(), true))
        Log::Write("Discovery TCP control blocking mode failed peer=%s wsa=%d", ip.c_str(),
                   ::WSAGetLastError());
    DWORD timeout = kControlReceiveTimeoutMs;
    ::setsockopt(client.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                 sizeof timeout);
    SocketConnection connection(client.Get());
    ServeControlConnection(connection, ip, sink, run);
    CloseSocketLogged(client.Release(), kConnectionLabel);
}

} // namespace

void TcpControlServerLoop(const DiscoveryRun& run, uint16_t port, IControlServerSink& sink) {
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener.Valid()) {
        Log::Write("Discovery TCP control socket failed wsa=%d", ::WSAGetLastError());
        return;
    }
    if (!BindReusableAny(listener.Get(), port)) {
        Log::Write("Discovery TCP control bind port=%u failed wsa=%d", unsigned(port), ::WSAGetLastError());
        CloseSocketLogged(listener.Release(), kListenerLabel);
        return;
    }
    if (::listen(listener.Get(), kListenBacklog) != 0 || !SetSocketBlocking(listener.Get(), false)) {
        Log::Write("Discovery TCP control listen port=%u failed wsa=%d", unsigned(port), ::WSAGetLastError());
        CloseSocketLogged(listener.Release(), kListenerLabel);
        return;
    }
    Log::Write("Discovery TCP control started port=%u", unsigned(port));
    if (RuntimeStateManager().SetControlRunning(true))
        Log::Write("[NET][SERVICE] control running=%d reason=%s", 1, "tcp control started");

    while (run.Running()) {
        sockaddr_in from = {};
        int size = sizeof from;
        UniqueSocket client(::accept(listener.Get(), reinterpret_cast<sockaddr*>(&from), &size));
        if (!client.Valid()) {
            run.SleepFor(::WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlockPollMs : kErrorPollMs);
            continue;
        }
        ServeAccepted(std::move(client), from, sink, run);
    }
    CloseSocketLogged(listener.Release(), kListenerLabel);
    // Cleared here as well as by discovery's stop: a stop that comes right after the start may clear the
    // flag before this body has set it.
    if (RuntimeStateManager().SetControlRunning(false))
        Log::Write("[NET][SERVICE] control running=%d reason=%s", 0, "tcp control stopped");
    Log::Write("Discovery TCP control stopped");
}

} // namespace Discovery
