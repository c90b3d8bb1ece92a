#include <winsock2.h>

#include <atomic>
#include <exception>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketAddress.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "input/InputChannelRules.h"
#include "input/InputLinkState.h"
#include "input/win/InputChannel.h"
#include "input/win/InputSocket.h"

namespace {

// Numbers the host's handshaken connections across runs; the newest one is the connection served.
std::atomic<uint64_t> g_acceptCounter{0};

constexpr uint32_t kAcceptPollMs = 200;
constexpr int kListenBacklog = 1;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

void LogStaleConnection(uint64_t acceptGen) {
    Log::Write("Input host stale connection break acceptGen=%llu current=%llu", U64(acceptGen),
               U64(g_acceptCounter.load()));
}

void LogAckFailure(int32_t nonce, int wsa) {
    if (LogThrottle::Allow("input.host.handshake.ack.fail", 2000))
        Log::Write("[INPUT][HANDSHAKE][HOST_ACK_FAIL] nonce=%d wsa=%d", nonce, wsa);
}

} // namespace

void InputChannel::HostThread(uint16_t port, uint64_t gen) {
    Log::Write("Input HostThread enter port=%u runGen=%llu", unsigned(port), U64(gen));
    SOCKET listener = INVALID_SOCKET;
    if (HostListen(port, gen, listener)) {
        while (IsCurrent(gen)) {
            const int ready = WaitReadable(listener, kAcceptPollMs);
            if (ready == 0)
                continue;
            if (ready < 0) {
                // Stop closed the listener, or it broke: either way this loop is over.
                const int wsa = ::WSAGetLastError();
                if (IsCurrent(gen))
                    Log::Write("Input host accept break wsa=%d runGen=%llu", wsa, U64(gen));
                break;
            }
            UniqueSocket accepted;
            sockaddr_in from = {};
            if (!HostAcceptOne(listener, gen, accepted, from))
                break;
            if (!accepted.Valid())
                continue;
            const std::string ip = DottedIpv4(from);
            if (!PeerAllowed(ip)) {
                if (LogThrottle::Allow("input.host.peer.refused", 2000))
                    Log::Write("Input host refused connection from %s: not the active peer", ip.c_str());
                CloseSocketLogged(accepted.Release(), "InputChannel::peer-refused");
                continue;
            }
            HostServeAccepted(std::move(accepted), ip, ntohs(from.sin_port), gen);
        }
    }
    Log::Write("Input HostThread leave runGen=%llu current=%llu", U64(gen), U64(m_runGen.load()));
}

bool InputChannel::HostListen(uint16_t port, uint64_t gen, SOCKET& listener) {
    UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket.Valid()) {
        Log::Write("Input host socket failed wsa=%d", ::WSAGetLastError());
        EndRunIfCurrent(gen);
        return false;
    }
    const char* failure = nullptr;
    int wsa = 0;
    {
        // Set up under the lock: Stop closes the listener, and no call here may use a handle it has closed.
        std::lock_guard<std::mutex> lock(m_socketMutex);
        if (!IsCurrent(gen)) {
            CloseSocketLogged(socket.Release(), "InputChannel::stale-listen");
            return false;
        }
        listener = socket.Get();
        m_listenSocket = std::move(socket);
        m_listenGen = gen;
        if (!BindReusableAny(listener, port))
            failure = "bind";
        else if (::listen(listener, kListenBacklog) != 0)
            failure = "listen";
        else if (!SetSocketBlocking(listener, false))
            failure = "listen";
        if (failure != nullptr)
            wsa = ::WSAGetLastError();
    }
    if (failure != nullptr) {
        if (failure[0] == 'b')
            Log::Write("Input host bind failed port=%u wsa=%d", unsigned(port), wsa);
        else
            Log::Write("Input host listen failed wsa=%d", wsa);
        EndRunIfCurrent(gen);
        return false;
    }
    Log::Write("Input host listening on 0.0.0.0:%u runGen=%llu", unsigned(port), U64(gen));
    return true;
}

bool InputChannel::HostAcceptOne(SOCKET listener, uint64_t gen, UniqueSocket& accepted, sockaddr_in& from) {
    int wsa = 0;
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        if (!IsCurrent(gen) || m_listenSocket.Get() != listener || m_listenGen != gen)
            return false;
        int size = sizeof from;
        accepted.Reset(::accept(listener, reinterpret_cast<sockaddr*>(&from), &size));
        if (accepted.Valid())
            return true;
        wsa = ::WSAGetLastError();
    }
    if (wsa == WSAEWOULDBLOCK)
        return true;
    if (IsCurrent(gen))
        Log::Write("Input host accept break wsa=%d runGen=%llu", wsa, U64(gen));
    return false;
}

void InputChannel::HostServeAccepted(UniqueSocket socket, const std::string& ip, uint16_t peerPort,
                                     uint64_t gen) {
    // The accepted socket inherits the listener's non-blocking mode.
    SetSocketBlocking(socket.Get(), true);
    SetInputSocketNoDelay(socket.Get());
    SetInputSocketKeepAlive(socket.Get());
    SetSocketTimeouts(socket.Get(), kInputHandshakeTimeoutMs);

    auto reader = std::make_shared<InputRecordReader>();
    RecordRead hello = ReadInputRecord(socket.Get(), *reader, kInputHandshakeTimeoutMs);
    if (!IsHostHandshakeHello(hello.result, hello.packet)) {
        const bool whole = hello.result == InputRecordReader::Result::Packet;
        if (LogThrottle::Allow("input.host.handshake.reject", 2000))
            Log::Write("[INPUT][HANDSHAKE][HOST_REJECT] magic=0x%08X type=%u proto=0x%08X wsa=%d",
                       whole ? kInputPacketMagicValue : hello.magic, whole ? hello.packet.type : 0u,
                       whole ? static_cast<uint32_t>(hello.packet.x) : 0u, hello.wsa);
        CloseSocketLogged(socket.Release(), "InputChannel::handshake-reject");
        return;
    }
    const int32_t nonce = hello.packet.data1;
    int wsa = 0;
    if (SendInputRecord(socket.Get(), MakeAckPacket(nonce), kInputHandshakeTimeoutMs, wsa) !=
        static_cast<int>(kInputPacketSize)) {
        LogAckFailure(nonce, wsa);
        CloseSocketLogged(socket.Release(), "InputChannel::handshake-ack-fail");
        return;
    }
    if (!IsCurrent(gen)) {
        CloseSocketLogged(socket.Release(), "InputChannel::stale-accepted");
        return;
    }
    // Before it is published: reads follow a select, and sends wait for room themselves (SendExactSocket).
    SetSocketBlocking(socket.Get(), false);
    const uint64_t acceptGen = ++g_acceptCounter;
    if (!PublishConnection(socket.Get(), gen)) {
        CloseSocketLogged(socket.Release(), "InputChannel::stale-accepted-publish");
        return;
    }
    ReportInputHandshake(RuntimeInputLinkState(), "InputHostHandshake");
    Log::Write("[INPUT][HANDSHAKE][HOST_OK] peer=%s:%u acceptGen=%llu runGen=%llu nonce=%d", ip.c_str(),
               unsigned(peerPort), U64(acceptGen), U64(gen), nonce);

    const SOCKET raw = socket.Get();
    std::string failure;
    try {
        std::thread serving([this, raw, reader, acceptGen, gen] {
            RunThread("InputHostConnection", gen, [&] { HostConnection(raw, reader, acceptGen, gen); });
        });
        serving.detach();
        socket.Release(); // the serving thread owns it now
        return;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown exception";
    }
    Log::Write("InputChannel host thread create failed: %s", failure.c_str());
    HostRetire(raw, acceptGen, gen);
    CloseSocketLogged(socket.Release(), "InputChannel::accepted");
}

void InputChannel::HostConnection(SOCKET socket, const std::shared_ptr<InputRecordReader>& reader,
                                  uint64_t acceptGen, uint64_t gen) {
    try {
        HostReceive(socket, *reader, acceptGen, gen);
    } catch (...) {
        // Retired before it is closed, so nobody sends on a closed handle; RunThread logs the exception.
        HostRetire(socket, acceptGen, gen);
        CloseSocketLogged(socket, "InputChannel::accepted");
        throw;
    }
    HostRetire(socket, acceptGen, gen);
    CloseSocketLogged(socket, "InputChannel::accepted");
}

void InputChannel::HostReceive(SOCKET socket, InputRecordReader& reader, uint64_t acceptGen, uint64_t gen) {
    SetSocketTimeouts(socket, kInputHostRecvTimeoutMs);
    for (;;) {
        if (!IsCurrent(gen))
            return;
        InputPacket packet;
        uint32_t magic = 0;
        const InputRecordReader::Result result = reader.Next(packet, magic);
        if (result == InputRecordReader::Result::NeedMore) {
            if (acceptGen != g_acceptCounter.load()) {
                LogStaleConnection(acceptGen);
                return;
            }
            // Waiting with select and reading only what arrived keeps a partial record in the reader; a
            // receive that timed out would leave the socket in an undefined state.
            const int ready = WaitReadable(socket, kInputHostRecvTimeoutMs);
            if (ready == 0)
                continue;
            int got = SOCKET_ERROR;
            if (ready > 0)
                got = ::recv(socket, reinterpret_cast<char*>(reader.Space()),
                             static_cast<int>(reader.SpaceSize()), 0);
            if (got > 0) {
                reader.Commit(static_cast<size_t>(got));
                continue;
            }
            const int wsa = got < 0 ? ::WSAGetLastError() : 0;
            if (got < 0 && (wsa == WSAETIMEDOUT || wsa == WSAEWOULDBLOCK))
                continue;
            if (acceptGen != g_acceptCounter.load()) {
                LogStaleConnection(acceptGen);
                return;
            }
            if (IsCurrent(gen))
                Log::Write("Input host recv break got=%d expected=%zu wsa=%d acceptGen=%llu runGen=%llu", got,
                           kInputPacketSize, wsa, U64(acceptGen), U64(gen));
            return;
        }
        switch (DecideHostRecord(result, packet, acceptGen, g_acceptCounter.load())) {
        case HostRecordAction::CloseStale:
            LogStaleConnection(acceptGen);
            return;
        case HostRecordAction::CloseBadMagic:
            // Out of step or not our protocol: nothing later on this connection can be trusted.
            Log::Write("Input host drop invalid magic=0x%08X", magic);
            return;
        case HostRecordAction::AnswerHello:
            if (!HostAnswerHello(socket, gen, packet.data1))
                return;
            break;
        case HostRecordAction::Inject:
            if (Log::IsDebugCategoryEnabled("input")) {
                const uint64_t move = packet.Is(InputPacketType::MouseMove) ? ++m_recvMoves : 0;
                if (ShouldLogInputPacket(packet, move))
                    Log::Write("Input host recv packet type=%s x=%d y=%d data1=%d data2=%d",
                               InputPacketTypeName(packet.type), packet.x, packet.y, packet.data1,
                               packet.data2);
                if (packet.Is(InputPacketType::Key))
                    Log::Write("%s", FormatKeyDiagLine("TCP_RECV_HOST", packet).c_str());
                else if (packet.Is(InputPacketType::MouseButton))
                    Log::Write("%s", FormatMouseButtonDiagLine("TCP_RECV_HOST", packet).c_str());
            }
            Inject(packet);
            break;
        }
    }
}

bool InputChannel::HostAnswerHello(SOCKET socket, uint64_t gen, int32_t nonce) {
    int sent = 0;
    int wsa = 0;
    bool published = false;
    {
        // Under the send lock, so the ACK cannot interleave with a direct send.
        std::lock_guard<std::mutex> sendLock(m_sendMutex);
        std::lock_guard<std::mutex> socketLock(m_socketMutex);
        published = m_socket == socket && m_socketGen == gen;
        if (published)
            sent = SendInputRecord(socket, MakeAckPacket(nonce), kInputHostRecvTimeoutMs, wsa);
    }
    if (!published)
        return false;
    if (sent != static_cast<int>(kInputPacketSize)) {
        LogAckFailure(nonce, wsa);
        return false;
    }
    return true;
}

void InputChannel::HostRetire(SOCKET socket, uint64_t acceptGen, uint64_t gen) {
    bool report = false;
    {
        std::lock_guard<std::mutex> sendLock(m_sendMutex);
        std::lock_guard<std::mutex> socketLock(m_socketMutex);
        if (m_socket != socket || m_socketGen != gen)
            return;
        m_socket = INVALID_SOCKET;
        m_socketGen = 0;
        if (acceptGen == g_acceptCounter.load() && m_runGen.load() == gen) {
            m_connected.store(false);
            report = true;
        }
    }
    if (!report)
        return;
    IInputLinkState& link = RuntimeInputLinkState();
    link.SetTcpInputConnected(false, "InputHostDisconnect");
    if (m_running.load())
        link.SetChannelState(ChannelState::Listening, "input TCP disconnected; waiting client");
}
