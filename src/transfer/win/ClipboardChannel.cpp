#include "transfer/win/ClipboardChannel.h"

#include <optional>
#include <string>
#include <utility>

#include "core/CommandBus.h"
#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/ThreadHelpers.h"
#include "core/win/CloseHelpers.h"
#include "transfer/ClipboardStatusRelay.h"

namespace {

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

} // namespace

ClipboardChannel& ClipboardChannel::Instance() {
    // Never destroyed: detached channel threads may outlive every static.
    static ClipboardChannel* channel = new ClipboardChannel();
    return *channel;
}

bool ClipboardChannel::StartHost(uint16_t port) {
    Stop();
    const uint64_t gen = ++m_generation;
    m_running.store(true);
    Log::Write("[CLIP][GEN][START] role=host gen=%llu port=%u", U64(gen), unsigned(port));
    SubscribeRelays();
    std::lock_guard<std::mutex> lock(m_threadMutex);
    DetachWorkerThread(m_thread, "ClipboardChannel::StartHost stale main");
    const std::optional<std::string> failure = ThreadStartFailure([&] {
        m_thread = std::thread([this, port, gen] {
            RunChannelThread("ClipboardHost", "host", gen, [&] { HostThread(port, gen); });
        });
    });
    if (!failure)
        return true;
    Log::Write("ClipboardChannel host thread create failed: %s", failure->c_str());
    if (m_generation.load() == gen)
        m_running.store(false);
    CloseSockets();
    return false;
}

bool ClipboardChannel::StartClient(const std::string& peerIpv4, uint16_t port) {
    Stop();
    const uint64_t gen = ++m_generation;
    m_running.store(true);
    Log::Write("[CLIP][GEN][START] role=client gen=%llu peer=%s port=%u", U64(gen), peerIpv4.c_str(),
               unsigned(port));
    SubscribeRelays();
    std::lock_guard<std::mutex> lock(m_threadMutex);
    DetachWorkerThread(m_thread, "ClipboardChannel::StartClient stale main");
    const std::optional<std::string> failure = ThreadStartFailure([&] {
        m_thread = std::thread([this, peerIpv4, port, gen] {
            RunChannelThread("ClipboardClient", "client", gen, [&] { ClientThread(peerIpv4, port, gen); });
        });
    });
    if (!failure)
        return true;
    Log::Write("ClipboardChannel client thread create failed: %s", failure->c_str());
    if (m_generation.load() == gen)
        m_running.store(false);
    CloseSockets();
    return false;
}

void ClipboardChannel::Stop() {
    const bool wasRunning = m_running.exchange(false);
    const uint64_t gen = ++m_generation;
    Log::Write("[CLIP][GEN][STOP] invalidateTo=%llu wasRunning=%d", U64(gen), wasRunning ? 1 : 0);
    UnsubscribeRelays();
    CloseSockets();
    {
        std::lock_guard<std::mutex> lock(m_threadMutex);
        const bool final = !RuntimeIsAppRunning();
        DetachWorkerThread(m_thread, final ? "ClipboardChannel::Stop main final"
                                           : "ClipboardChannel::Stop main runtime");
    }
    if (wasRunning)
        Log::Write("ClipboardChannel stopped");
}

void ClipboardChannel::CloseSockets() {
    SOCKET connecting = INVALID_SOCKET;
    SOCKET connection = INVALID_SOCKET;
    SOCKET listener = INVALID_SOCKET;
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        connecting = m_connectSocket.exchange(INVALID_SOCKET);
        connection = m_socket.exchange(INVALID_SOCKET);
        listener = m_listenSocket.exchange(INVALID_SOCKET);
        // Shut down under the lock: an owner takes it before closing, so these handles are still theirs.
        ShutdownSocketQuiet(connecting);
        ShutdownSocketQuiet(connection);
    }
    ShutdownSocketQuiet(listener);
    CloseSocketLogged(listener, "ClipboardChannel::m_listenSocket");
}

bool ClipboardChannel::DropConnection(SOCKET socket) {
    std::lock_guard<std::mutex> lock(m_socketMutex);
    SOCKET expected = socket;
    if (socket == INVALID_SOCKET || !m_socket.compare_exchange_strong(expected, INVALID_SOCKET))
        return false;
    ShutdownSocketQuiet(socket);
    return true;
}

std::string ClipboardChannel::PeerAddress() const {
    if (!IsConnected())
        return std::string();
    std::lock_guard<std::mutex> lock(m_peerMutex);
    return m_peerAddress;
}

std::string ClipboardChannel::GetLocalAddress() const {
    if (!IsConnected())
        return std::string();
    std::lock_guard<std::mutex> lock(m_peerMutex);
    return m_localAddress;
}

bool ClipboardChannel::SendMessage(uint32_t type, uint64_t id, uint64_t a, uint64_t b, uint32_t c,
                                   const void* payload, uint32_t payloadBytes) {
    // The peer drops the connection on a larger payload, so it is never written.
    if (payloadBytes > kClipboardMaxPayload) {
        Log::Write("Clipboard send refused type=%u bytes=%u max=%u: payload too large", type, payloadBytes,
                   kClipboardMaxPayload);
        return false;
    }
    if (payload == nullptr)
        payloadBytes = 0;
    ClipboardMessageHeader header;
    header.type = type;
    header.id = id;
    header.a = a;
    header.b = b;
    header.payloadBytes = payloadBytes;
    header.c = c;
    uint8_t headerBytes[kClipboardHeaderSize];
    EncodeClipboardHeader(header, headerBytes);

    SOCKET socket = INVALID_SOCKET;
    size_t sent = 0;
    bool ok = false;
    int wsa = 0;
    {
        std::lock_guard<std::mutex> lock(m_sendMutex);
        socket = m_socket.load();
        if (!m_running.load() || socket == INVALID_SOCKET)
            return false;
        StallScope scope("Clipboard", "SendAll", 100);
        ok = SendAll(socket, headerBytes, sizeof headerBytes, sent);
        if (ok && payloadBytes > 0) {
            size_t payloadSent = 0;
            ok = SendAll(socket, static_cast<const uint8_t*>(payload), payloadBytes, payloadSent);
            sent += payloadSent;
        }
        if (!ok)
            wsa = ::WSAGetLastError();
    }
    if (ok)
        return true;
    // Whatever part went out, the stream can no longer be trusted to be in step: the connection ends and the
    // channel threads make a new one. A connection that Stop or a cancel retired meanwhile is not news.
    if (DropConnection(socket))
        Log::Write("Clipboard send failed type=%u sent=%llu of %llu wsa=%d; connection closed", type,
                   U64(sent), U64(sizeof headerBytes + payloadBytes), wsa);
    return false;
}

bool ClipboardChannel::SendAll(SOCKET socket, const uint8_t* bytes, size_t count, size_t& sent) {
    sent = 0;
    while (sent < count) {
        if (!m_running.load() || m_socket.load() != socket)
            return false;
        const size_t left = count - sent;
        const int chunk = left > 0x40000000u ? 0x40000000 : static_cast<int>(left);
        const int n = ::send(socket, reinterpret_cast<const char*>(bytes + sent), chunk, 0);
        if (n < 1)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

void ClipboardChannel::SubscribeRelays() {
    std::lock_guard<std::mutex> lock(m_threadMutex);
    if (m_progressSub != 0 || m_doneSub != 0 || m_errorSub != 0 || m_cancelSub != 0)
        return;
    CommandBus& bus = CommandBus::Instance();
    auto relay = [this](const CommandMessage& command) { RelayTransferReport(command); };
    m_progressSub = bus.Subscribe(kCommandFileProgress, relay);
    m_doneSub = bus.Subscribe(kCommandFileDone, relay);
    m_errorSub = bus.Subscribe(kCommandFileError, relay);
    m_cancelSub = bus.Subscribe(kCommandFileCancel, relay);
}

void ClipboardChannel::UnsubscribeRelays() {
    uint64_t ids[4] = {};
    {
        std::lock_guard<std::mutex> lock(m_threadMutex);
        ids[0] = std::exchange(m_progressSub, 0);
        ids[1] = std::exchange(m_doneSub, 0);
        ids[2] = std::exchange(m_errorSub, 0);
        ids[3] = std::exchange(m_cancelSub, 0);
    }
    for (uint64_t id : ids)
        CommandBus::Instance().Unsubscribe(id);
}

// Runs where the bus is drained (the UI thread): the reports of a transfer this PC downloads go back to the
// PC that serves it.
void ClipboardChannel::RelayTransferReport(const CommandMessage& command) {
    if (!IsConnected())
        return;
    const std::optional<TransferStatusMessage> status =
        BuildTransferStatusRelay(command.type, command.PayloadText());
    if (!status)
        return;
    const bool sent = SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_TRANSFER_STATUS),
                                  status->transferId, status->a, status->b, status->flags,
                                  status->payload.data(), static_cast<uint32_t>(status->payload.size()));
    if (!sent && LogThrottle::Allow("clipboard.relay.send", 2000))
        Log::Write("Clipboard transfer status relay failed id=%llu flags=%u", U64(status->transferId),
                   status->flags);
}
