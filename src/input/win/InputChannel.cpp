#include "input/win/InputChannel.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/ThreadHelpers.h"
#include "core/win/CloseHelpers.h"
#include "input/InputChannelRules.h"
#include "input/win/InputSocket.h"

InputChannel& InputChannel::Instance() {
    static InputChannel* channel = new InputChannel();
    return *channel;
}

bool InputChannel::StartHost(uint16_t port) {
    StallScope scope("InputChannel", "StartHost", 200);
    std::lock_guard<std::mutex> lock(m_stateMutex);
    Log::Write("InputChannel::StartHost port=%u", unsigned(port));
    StopLocked();
    const uint64_t gen = ++m_runGen;
    m_clientMode.store(false);
    m_connected.store(false);
    m_running.store(true);
    m_peer.clear();
    m_port = 0;
    const std::optional<std::string> failure = ThreadStartFailure([&] {
        m_thread =
            std::thread([this, port, gen] { RunThread("InputHost", gen, [&] { HostThread(port, gen); }); });
    });
    if (!failure)
        return true;
    Log::Write("InputChannel host thread create failed: %s", failure->c_str());
    if (m_runGen.load() == gen) {
        m_running.store(false);
        CloseSockets();
    }
    return false;
}

bool InputChannel::StartClient(const std::string& peer, uint16_t port, bool force) {
    StallScope scope("InputChannel", "StartClient", 200);
    std::lock_guard<std::mutex> lock(m_stateMutex);
    ClientRunFacts current{m_running.load(), m_clientMode.load(), m_peer, m_port};
    if (IsDuplicateClientStart(current, peer, port, force)) {
        if (LogThrottle::Allow("input.client.start.duplicate", 3000))
            Log::Write("InputChannel::StartClient already active peer=%s port=%u gen=%llu connected=%d",
                       peer.c_str(), unsigned(port), static_cast<unsigned long long>(m_runGen.load()),
                       m_connected.load() ? 1 : 0);
        return true;
    }
    Log::Write("InputChannel::StartClient peer=%s port=%u force=%d", peer.c_str(), unsigned(port),
               force ? 1 : 0);
    StopLocked();
    const uint64_t gen = ++m_runGen;
    m_clientMode.store(true);
    m_connected.store(false);
    m_running.store(true);
    m_peer = peer;
    m_port = port;
    const std::optional<std::string> failure = ThreadStartFailure([&] {
        m_thread = std::thread([this, peer, port, gen] {
            RunThread("InputClientConnect", gen, [&] { ClientConnectThread(peer, port, gen); });
        });
        m_sendThread =
            std::thread([this, gen] { RunThread("InputClientSend", gen, [&] { ClientSendThread(gen); }); });
    });
    if (!failure)
        return true;
    Log::Write("InputChannel client thread create failed: %s", failure->c_str());
    if (m_runGen.load() == gen) {
        m_running.store(false);
        CloseSockets();
    }
    m_queueChanged.notify_all();
    DetachWorkerThread(m_thread, "InputChannel::m_thread(partial)");
    DetachWorkerThread(m_sendThread, "InputChannel::m_thread(partial)");
    return false;
}

void InputChannel::Stop() {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    StopLocked();
}

void InputChannel::StopLocked() {
    StallScope scope("InputChannel", "StopLocked", 200);
    const bool wasRunning = m_running.exchange(false);
    const uint64_t oldGen = m_runGen.fetch_add(1);
    Log::Write("InputChannel::Stop wasRunning=%d oldGen=%llu", wasRunning ? 1 : 0,
               static_cast<unsigned long long>(oldGen));
    {
        // Taken so a waiter between its check and its wait cannot miss the wake-up.
        std::lock_guard<std::mutex> queueLock(m_queueMutex);
    }
    m_queueChanged.notify_all();
    CloseSockets();
    DetachWorkerThread(m_thread, "InputChannel::m_thread");
    DetachWorkerThread(m_sendThread, "InputChannel::m_sendThread");
    {
        std::lock_guard<std::mutex> queueLock(m_queueMutex);
        m_queues.Clear();
    }
    m_connected.store(false);
    m_peer.clear();
    m_port = 0;
}

void InputChannel::CloseSockets() {
    std::lock_guard<std::mutex> sendLock(m_sendMutex);
    std::lock_guard<std::mutex> socketLock(m_socketMutex);
    SOCKET connection = std::exchange(m_socket, INVALID_SOCKET);
    SOCKET connecting = std::exchange(m_connectSocket, INVALID_SOCKET);
    UniqueSocket listener = std::move(m_listenSocket);
    m_socketGen = 0;
    m_connectGen = 0;
    m_listenGen = 0;
    m_connected.store(false);
    // The connection and the connecting socket belong to their threads, which close them once they find
    // them retired; a shutdown here wakes those threads at once. Done under the lock: the owners take it
    // before they close, so the handle is still theirs.
    ShutdownSocketQuiet(connection);
    ShutdownSocketQuiet(connecting);
    CloseSocketLogged(listener.Release(), "InputChannel::m_listenSocket");
}

bool InputChannel::SendPacket(const InputPacket& packet) {
    StallScope scope("InputChannel", "SendPacket", 50);
    if (m_clientMode.load())
        return EnqueuePacket(packet);
    const char* typeName = InputPacketTypeName(packet.type);
    bool haveSocket = false;
    int sent = 0;
    int wsa = 0;
    {
        std::lock_guard<std::mutex> sendLock(m_sendMutex);
        std::lock_guard<std::mutex> socketLock(m_socketMutex);
        haveSocket = m_socket != INVALID_SOCKET;
        if (haveSocket)
            sent = SendInputRecord(m_socket, packet, kInputHostRecvTimeoutMs, wsa);
    }
    if (!haveSocket) {
        Log::Write("Input SendPacket failed: socket invalid type=%s", typeName);
        return false;
    }
    if (sent != static_cast<int>(kInputPacketSize)) {
        Log::Write("Input SendPacket failed: type=%s sent=%d expected=%zu wsa=%d", typeName, sent,
                   kInputPacketSize, wsa);
        return false;
    }
    if (Log::IsDebugCategoryEnabled("input")) {
        uint64_t move = packet.Is(InputPacketType::MouseMove) ? ++m_sendOkMoves : 0;
        if (ShouldLogInputPacket(packet, move))
            Log::Write("Input SendPacket ok: type=%s x=%d y=%d data1=%d data2=%d", typeName, packet.x,
                       packet.y, packet.data1, packet.data2);
        if (packet.Is(InputPacketType::Key))
            Log::Write("%s", FormatKeyDiagLine("TCP_SEND_DIRECT", packet).c_str());
        else if (packet.Is(InputPacketType::MouseButton))
            Log::Write("%s", FormatMouseButtonDiagLine("TCP_SEND_DIRECT", packet).c_str());
    }
    return true;
}

bool InputChannel::EnqueuePacket(const InputPacket& packet) {
    StallScope scope("InputChannel", "EnqueuePacket", 20);
    // Only the client's send thread drains the queue: on the host a queued packet would never leave.
    if (!m_running.load() || !m_clientMode.load())
        return false;
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queues.EnqueueNormal(packet);
    }
    m_queueChanged.notify_one();
    return true;
}

bool InputChannel::SendPriorityPacket(const InputPacket& packet) {
    StallScope scope("InputChannel", "SendPriorityPacket", 50);
    if (!m_running.load() || !m_clientMode.load())
        return false;
    bool dropped = false;
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        dropped = m_queues.EnqueuePriority(packet);
    }
    m_queueChanged.notify_one();
    if (dropped && LogThrottle::Allow("input.priority.queue.full", 3000))
        Log::Write("Input priority queue full; oldest packet dropped");
    if (!packet.Is(InputPacketType::SystemKey) && LogThrottle::Allow("input.priority.queued", 1000))
        Log::Write("Input priority queued type=%s", InputPacketTypeName(packet.type));
    return true;
}

size_t InputChannel::PurgeMoves(const char* reason) {
    size_t removed = 0;
    uint64_t cancelGen = 0;
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        removed = m_queues.PurgeMoves();
        cancelGen = m_queues.MoveCancelGen();
    }
    m_queueChanged.notify_all();
    if (removed > 0 || Log::IsDebugCategoryEnabled("input"))
        Log::Write("[INPUT][MOVE_PURGE] reason=%s removed=%zu cancelGen=%llu", reason ? reason : "", removed,
                   static_cast<unsigned long long>(cancelGen));
    return removed;
}

size_t InputChannel::QueuedPackets() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return m_queues.NormalSize() + m_queues.PrioritySize();
}

void InputChannel::SetInjector(Injector injector) {
    std::lock_guard<std::mutex> lock(m_hooksMutex);
    m_injector = std::move(injector);
}

void InputChannel::SetPeerFilter(PeerFilter::Allows filter) {
    m_peerFilter.Set(std::move(filter));
}

void InputChannel::Inject(const InputPacket& packet) {
    Injector injector;
    {
        std::lock_guard<std::mutex> lock(m_hooksMutex);
        injector = m_injector;
    }
    if (injector)
        injector(packet);
}

bool InputChannel::PeerAllowed(const std::string& ip) {
    return m_peerFilter.Allowed(ip);
}

void InputChannel::EndRunIfCurrent(uint64_t gen) {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    if (m_runGen.load() != gen)
        return;
    m_running.store(false);
    CloseSockets();
}

void InputChannel::RunThread(const char* name, uint64_t gen, const std::function<void()>& body) {
    Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
    bool threw = false;
    try {
        body();
    } catch (const std::exception& e) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
        RuntimeSetErrorText(e.what());
        threw = true;
    } catch (...) {
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
        RuntimeSetErrorText("unknown thread exception");
        threw = true;
    }
    if (threw) {
        try {
            EndRunIfCurrent(gen);
        } catch (...) {
            Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown in exception clean-up", name, Tid());
        }
    }
    LogThreadStop(name);
}

bool InputChannel::PublishConnection(SOCKET socket, uint64_t gen) {
    std::lock_guard<std::mutex> sendLock(m_sendMutex);
    std::lock_guard<std::mutex> socketLock(m_socketMutex);
    if (!IsCurrent(gen))
        return false;
    SOCKET old = m_socket;
    m_socket = socket;
    m_socketGen = gen;
    m_connected.store(true);
    // The replaced connection's own thread sees it shut down, ends as stale and closes it.
    if (old != INVALID_SOCKET && old != socket)
        ShutdownSocketQuiet(old);
    return true;
}
