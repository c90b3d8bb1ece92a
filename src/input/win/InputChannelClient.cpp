#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <optional>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketWait.h"
#include "input/InputChannelRules.h"
#include "input/InputLinkState.h"
#include "input/win/InputChannel.h"
#include "input/win/InputSocket.h"

namespace {

constexpr uint32_t kConnectPollMs = 200;
constexpr uint32_t kWatchPollMs = 200;
constexpr uint32_t kPauseStepMs = 50;
constexpr int kPauseSteps = 20;
constexpr DWORD kWaitForConnectionMs = 10;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

} // namespace

void InputChannel::ClientConnectThread(const std::string& peer, uint16_t port, uint64_t gen) {
    Log::Write("Input ClientConnectThread enter peer=%s port=%u gen=%llu", peer.c_str(), unsigned(port),
               U64(gen));
    while (IsCurrent(gen)) {
        if (!ClientConnectOnce(peer, port, gen))
            break;
        ClientPause(gen);
    }
    if (m_runGen.load() == gen)
        RuntimeInputLinkState().SetTcpInputConnected(false, "InputClientConnectThreadExit");
    Log::Write("Input ClientConnectThread leave gen=%llu current=%llu", U64(gen), U64(m_runGen.load()));
}

void InputChannel::ClientPause(uint64_t gen) {
    for (int step = 0; step < kPauseSteps && IsCurrent(gen); ++step)
        ::Sleep(kPauseStepMs);
}

int InputChannel::ClientConnect(SOCKET socket, const sockaddr_in& address, uint64_t gen) {
    // Non-blocking, waited on in slices, so a Stop ends the wait within one slice.
    if (!SetSocketBlocking(socket, false))
        return ::WSAGetLastError();
    int error = 0;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = ::WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            for (;;) {
                fd_set writable;
                fd_set failed;
                FD_ZERO(&writable);
                FD_ZERO(&failed);
                FD_SET(socket, &writable);
                FD_SET(socket, &failed);
                timeval timeout = {0, static_cast<long>(kConnectPollMs) * 1000};
                const int ready = ::select(0, nullptr, &writable, &failed, &timeout);
                if (ready == 0) {
                    if (IsCurrent(gen))
                        continue;
                    error = WSAEINTR;
                } else if (ready < 0) {
                    error = ::WSAGetLastError();
                } else {
                    error = PendingSocketError(socket);
                    // Windows reports a refusal in the exception set.
                    if (error == 0 && FD_ISSET(socket, &failed))
                        error = WSAECONNREFUSED;
                }
                break;
            }
        }
    }
    if (error == 0 && !SetSocketBlocking(socket, true))
        error = ::WSAGetLastError();
    return error;
}

bool InputChannel::ClientConnectOnce(const std::string& peer, uint16_t port, uint64_t gen) {
    IInputLinkState& link = RuntimeInputLinkState();
    UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket.Valid()) {
        Log::Write("Input client socket failed wsa=%d gen=%llu", ::WSAGetLastError(), U64(gen));
        return false;
    }
    SetInputSocketNoDelay(socket.Get());
    SetInputSocketKeepAlive(socket.Get());
    SetSocketTimeouts(socket.Get(), kInputHandshakeTimeoutMs);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, peer.c_str(), &address.sin_addr) != 1) {
        Log::Write("Input client invalid IPv4 address: %s", peer.c_str());
        CloseSocketLogged(socket.Release(), "InputChannel::client-temp");
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        if (!IsCurrent(gen)) {
            CloseSocketLogged(socket.Release(), "InputChannel::stale-client-temp");
            return false;
        }
        m_connectSocket = socket.Get();
        m_connectGen = gen;
    }
    Log::Write("Input client connecting to %s:%u gen=%llu", peer.c_str(), unsigned(port), U64(gen));
    int connectError = ClientConnect(socket.Get(), address, gen);
    bool stillOurs = false;
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        stillOurs = m_connectSocket == socket.Get() && m_connectGen == gen;
        if (stillOurs) {
            m_connectSocket = INVALID_SOCKET;
            m_connectGen = 0;
        }
    }
    if (!IsCurrent(gen)) {
        CloseSocketLogged(socket.Release(), "InputChannel::stale-client-temp");
        return false;
    }
    if (connectError != 0 || !stillOurs) {
        if (LogThrottle::Allow("input.client.connect.fail", 2000))
            Log::Write("Input client connect failed peer=%s:%u gen=%llu wsa=%d", peer.c_str(), unsigned(port),
                       U64(gen), connectError);
        CloseSocketLogged(socket.Release(), "InputChannel::client-temp");
        ReportInputLinkDown(link, "InputClientConnectFailed", ChannelState::Reconnecting,
                            "input TCP connecting");
        return true;
    }

    const int32_t nonce = InputHandshakeNonce(gen);
    int wsa = 0;
    const int sent = SendInputRecord(socket.Get(), MakeHelloPacket(nonce), kInputHandshakeTimeoutMs, wsa);
    InputRecordReader reader;
    RecordRead ack;
    if (sent == static_cast<int>(kInputPacketSize)) {
        ack = ReadInputRecord(socket.Get(), reader, kInputHandshakeTimeoutMs);
        wsa = ack.wsa;
    }
    const bool whole = ack.result == InputRecordReader::Result::Packet;
    if (!whole || !IsMatchingAck(ack.packet, nonce)) {
        if (LogThrottle::Allow("input.client.handshake.fail", 1500))
            Log::Write("[INPUT][HANDSHAKE][CLIENT_FAIL] peer=%s:%u gen=%llu sent=%d recv=%d ackMagic=0x%08X "
                       "ackType=%u ackTag=0x%08X ackNonce=%d expected=%d wsa=%d",
                       peer.c_str(), unsigned(port), U64(gen), sent, ack.got,
                       whole ? kInputPacketMagicValue : ack.magic, whole ? ack.packet.type : 0u,
                       whole ? static_cast<uint32_t>(ack.packet.x) : 0u, whole ? ack.packet.data1 : 0, nonce,
                       wsa);
        CloseSocketLogged(socket.Release(), "InputChannel::handshake-failed");
        ReportInputLinkDown(link, "InputClientHandshakeFailed", ChannelState::Reconnecting,
                            "input TCP handshake retry");
        return true;
    }

    // Sends wait for room themselves (SendExactSocket); the watch reads only after a select.
    SetSocketBlocking(socket.Get(), false);
    if (!PublishConnection(socket.Get(), gen)) {
        CloseSocketLogged(socket.Release(), "InputChannel::stale-handshake-ok");
        return false;
    }
    ReportInputHandshake(link, "InputClientHandshake");
    Log::Write("[INPUT][HANDSHAKE][CLIENT_OK] peer=%s:%u gen=%llu nonce=%d", peer.c_str(), unsigned(port),
               U64(gen), nonce);

    const int watchWsa = ClientWatch(socket.Get(), gen);
    bool retired = false;
    {
        std::lock_guard<std::mutex> sendLock(m_sendMutex);
        std::lock_guard<std::mutex> socketLock(m_socketMutex);
        if (m_socket == socket.Get() && m_socketGen == gen) {
            m_socket = INVALID_SOCKET;
            m_socketGen = 0;
            m_connected.store(false);
            retired = true;
        }
    }
    // Closed only now that no sender can reach it.
    CloseSocketLogged(socket.Release(),
                      retired ? "InputChannel::client-peer-lost" : "InputChannel::m_socket");
    if (retired) {
        ReportInputLinkDown(link, "InputClientPeerClosed", ChannelState::Reconnecting,
                            "input TCP peer closed; reconnecting");
        Log::Write("[INPUT][CLIENT][PEER_CLOSED] peer=%s:%u gen=%llu wsa=%d", peer.c_str(), unsigned(port),
                   U64(gen), watchWsa);
    }
    return IsCurrent(gen);
}

int InputChannel::ClientWatch(SOCKET socket, uint64_t gen) {
    while (m_connected.load() && IsCurrent(gen)) {
        const int ready = WaitReadable(socket, kWatchPollMs, true);
        if (ready == 0)
            continue;
        if (ready < 0)
            return ::WSAGetLastError();
        // The host sends nothing but ACKs: read and dropped.
        char discard[64];
        const int got = ::recv(socket, discard, sizeof discard, 0);
        if (got > 0)
            continue;
        if (got == 0)
            return 0;
        const int wsa = ::WSAGetLastError();
        if (wsa != WSAEWOULDBLOCK && wsa != WSAETIMEDOUT)
            return wsa;
    }
    return 0;
}

void InputChannel::ClientSendThread(uint64_t gen) {
    Log::Write("Input ClientSendThread enter gen=%llu", U64(gen));
    for (;;) {
        std::optional<TakenInputPacket> taken;
        {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueChanged.wait(lock, [&] { return !IsCurrent(gen) || !m_queues.Empty(); });
            if (!IsCurrent(gen))
                break;
            taken = m_queues.TakeNext();
        }
        if (taken && !ClientSendTaken(*taken, gen))
            break;
    }
    Log::Write("Input ClientSendThread leave gen=%llu current=%llu", U64(gen), U64(m_runGen.load()));
}

bool InputChannel::ClientSendTaken(const TakenInputPacket& taken, uint64_t gen) {
    const InputPacket& packet = taken.packet;
    const char* typeName = InputPacketTypeName(packet.type);
    for (;;) {
        if (!IsCurrent(gen))
            return false;
        if (packet.Is(InputPacketType::MouseMove)) {
            bool stale = false;
            uint64_t cancelNow = 0;
            {
                std::lock_guard<std::mutex> lock(m_queueMutex);
                stale = m_queues.IsStale(taken);
                cancelNow = m_queues.MoveCancelGen();
            }
            if (stale) {
                if (LogThrottle::Allow("input.mouse.move.cancelled", 3000))
                    Log::Write("[INPUT][MOVE_DROP_STALE] gen=%llu cancel=%llu->%llu", U64(gen),
                               U64(taken.moveCancelGen), U64(cancelNow));
                return true;
            }
        }
        bool ready = false;
        int sent = 0;
        int wsa = 0;
        {
            std::lock_guard<std::mutex> sendLock(m_sendMutex);
            std::lock_guard<std::mutex> socketLock(m_socketMutex);
            ready = m_socket != INVALID_SOCKET && m_socketGen == gen && m_connected.load();
            if (ready)
                sent = SendInputRecord(m_socket, packet, kInputHandshakeTimeoutMs, wsa);
        }
        if (!ready) {
            // The packet waits for the next handshake.
            ::Sleep(kWaitForConnectionMs);
            continue;
        }
        if (sent != static_cast<int>(kInputPacketSize)) {
            Log::Write("Input async send failed: type=%s sent=%d expected=%zu wsa=%d gen=%llu", typeName,
                       sent, kInputPacketSize, wsa, U64(gen));
            if (m_runGen.load() == gen) {
                CloseSockets();
                ReportInputLinkDown(RuntimeInputLinkState(), "InputClientSendFailed",
                                    ChannelState::Reconnecting, "input TCP send failed; reconnecting");
            }
            return true;
        }
        if (packet.Is(InputPacketType::SystemKey)) {
            if (LogThrottle::Allow("input.system.send.ok", 2000))
                Log::Write("Input async send ok: type=%s data1=%d data2=%d", typeName, packet.data1,
                           packet.data2);
        } else if (Log::IsDebugCategoryEnabled("input")) {
            const uint64_t move = packet.Is(InputPacketType::MouseMove) ? ++m_sendOkMoves : 0;
            if (ShouldLogInputPacket(packet, move))
                Log::Write("Input async send ok: type=%s x=%d y=%d data1=%d data2=%d", typeName, packet.x,
                           packet.y, packet.data1, packet.data2);
            if (packet.Is(InputPacketType::Key))
                Log::Write("%s", FormatKeyDiagLine("TCP_SEND_ASYNC", packet).c_str());
            else if (packet.Is(InputPacketType::MouseButton))
                Log::Write("%s", FormatMouseButtonDiagLine("TCP_SEND_ASYNC", packet).c_str());
        }
        return true;
    }
}
