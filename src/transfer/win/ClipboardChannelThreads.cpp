#include <winsock2.h>
#include <ws2tcpip.h>

#include <exception>
#include <optional>
#include <string>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/ThreadHelpers.h"
#include "core/Utf.h"
#include "core/win/CloseHelpers.h"
#include "core/win/SocketAddress.h"
#include "core/win/SocketListen.h"
#include "core/win/SocketWait.h"
#include "transfer/ClipboardMessageFramer.h"
#include "transfer/ClipboardReceiveRules.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileTransferService.h"

namespace {

// Blocking waits are cut into slices this long, so a thread sees a Stop within one slice even where closing
// or shutting down a socket does not wake a wait on it.
constexpr uint32_t kWaitSliceMs = 100;
constexpr uint32_t kSocketRetryMs = 1000;
constexpr uint32_t kReconnectPauseMs = 500;

unsigned long long U64(uint64_t value) {
    return static_cast<unsigned long long>(value);
}

// The dotted address of the socket's own end ("" when it has none or is not IPv4/IPv6).
std::string LocalAddressOf(SOCKET socket) {
    sockaddr_storage address = {};
    int size = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return std::string();
    char text[INET6_ADDRSTRLEN] = {};
    const void* raw = nullptr;
    if (address.ss_family == AF_INET)
        raw = &reinterpret_cast<const sockaddr_in*>(&address)->sin_addr;
    else if (address.ss_family == AF_INET6)
        raw = &reinterpret_cast<const sockaddr_in6*>(&address)->sin6_addr;
    if (raw == nullptr || ::inet_ntop(address.ss_family, raw, text, sizeof text) == nullptr)
        return std::string();
    return text;
}

void CloseOwned(SOCKET socket, const char* label) {
    ShutdownSocketQuiet(socket);
    CloseSocketLogged(socket, label);
}

} // namespace

void ClipboardChannel::RunChannelThread(const char* name, const char* role, uint64_t gen,
                                        const std::function<void()>& body) {
    Log::Write("[THREAD][START] name=%s tid=%lu", name, Tid());
    const char* reason = nullptr;
    std::string what;
    try {
        body();
    } catch (const std::exception& e) {
        reason = "exception";
        what = e.what();
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu what=%s", name, Tid(), e.what());
    } catch (...) {
        reason = "unknown-exception";
        what = "unknown thread exception";
        Log::Write("[THREAD][EXCEPTION] name=%s tid=%lu unknown", name, Tid());
    }
    if (reason != nullptr) {
        RuntimeSetErrorText(what.c_str());
        if (IsCurrent(gen)) {
            m_running.store(false);
            CloseSockets();
        } else {
            Log::Write("[CLIP][GEN][STALE_EXIT] role=%s gen=%llu current=%llu reason=%s", role, U64(gen),
                       U64(m_generation.load()), reason);
        }
    }
    LogThreadStop(name);
}

void ClipboardChannel::Pause(uint32_t ms, uint64_t gen) const {
    for (uint32_t waited = 0; waited < ms && IsCurrent(gen); waited += kWaitSliceMs)
        ::Sleep(kWaitSliceMs);
}

void ClipboardChannel::HostThread(uint16_t port, uint64_t gen) {
    while (IsCurrent(gen)) {
        const SOCKET listener = HostListen(port, gen);
        if (listener == INVALID_SOCKET)
            continue;
        std::string peer;
        uint16_t peerPort = 0;
        int wsa = 0;
        const SOCKET accepted = HostAccept(listener, gen, peer, peerPort, wsa);
        {
            // The host listens only until one peer arrives.
            std::lock_guard<std::mutex> lock(m_socketMutex);
            SOCKET expected = listener;
            if (m_listenSocket.compare_exchange_strong(expected, INVALID_SOCKET))
                CloseSocketLogged(listener, "ClipboardChannel::accept listen done");
        }
        if (accepted == INVALID_SOCKET) {
            if (IsCurrent(gen)) {
                Log::Write("Clipboard host accept failed gen=%llu wsa=%d", U64(gen), wsa);
                Pause(kReconnectPauseMs, gen);
            } else {
                Log::Write("[CLIP][GEN][STALE_EXIT] role=host gen=%llu current=%llu reason=accept-wakeup",
                           U64(gen), U64(m_generation.load()));
            }
            continue;
        }
        ServeConnection(accepted, peer, peerPort, "host", "host-accepted", gen);
        Pause(kReconnectPauseMs, gen);
    }
    Log::Write("[CLIP][GEN][STALE_EXIT] role=host gen=%llu current=%llu reason=thread-exit", U64(gen),
               U64(m_generation.load()));
}

SOCKET ClipboardChannel::HostListen(uint16_t port, uint64_t gen) {
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        Log::Write("Clipboard host socket failed gen=%llu wsa=%d", U64(gen), ::WSAGetLastError());
        Pause(kSocketRetryMs, gen);
        return INVALID_SOCKET;
    }
    const char* label = nullptr;
    if (!BindReusableAny(listener, port)) {
        Log::Write("Clipboard host bind failed gen=%llu port=%u wsa=%d", U64(gen), unsigned(port),
                   ::WSAGetLastError());
        label = "ClipboardChannel::HostThread bind";
    } else if (::listen(listener, 1) != 0 || !SetSocketBlocking(listener, false)) {
        Log::Write("Clipboard host listen failed gen=%llu wsa=%d", U64(gen), ::WSAGetLastError());
        label = "ClipboardChannel::HostThread listen";
    }
    if (label != nullptr) {
        CloseSocketLogged(listener, label);
        Pause(kSocketRetryMs, gen);
        return INVALID_SOCKET;
    }
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        if (!IsCurrent(gen)) {
            CloseSocketLogged(listener, "ClipboardChannel::HostThread stale listen publish");
            return INVALID_SOCKET;
        }
        const SOCKET old = m_listenSocket.exchange(listener);
        CloseSocketLogged(old, "ClipboardChannel::HostThread replace listen");
    }
    Log::Write("[CLIP][SOCKET][LISTEN] gen=%llu address=0.0.0.0:%u", U64(gen), unsigned(port));
    return listener;
}

SOCKET ClipboardChannel::HostAccept(SOCKET listener, uint64_t gen, std::string& peer, uint16_t& peerPort,
                                    int& wsa) {
    while (IsCurrent(gen)) {
        const int ready = WaitReadable(listener, kWaitSliceMs);
        if (ready == 0)
            continue;
        SOCKET accepted = INVALID_SOCKET;
        sockaddr_in from = {};
        {
            // Accepted under the lock, and only while the listener is still the channel's: Stop closes it,
            // and its handle value may already belong to another socket.
            std::lock_guard<std::mutex> lock(m_socketMutex);
            if (!IsCurrent(gen) || m_listenSocket.load() != listener)
                return INVALID_SOCKET;
            int size = sizeof from;
            accepted = ::accept(listener, reinterpret_cast<sockaddr*>(&from), &size);
            wsa = accepted == INVALID_SOCKET ? ::WSAGetLastError() : 0;
        }
        if (accepted == INVALID_SOCKET) {
            if (wsa == WSAEWOULDBLOCK)
                continue;
            return INVALID_SOCKET;
        }
        peer = DottedIpv4(from);
        peerPort = ntohs(from.sin_port);
        if (m_peerFilter.Allowed(peer)) {
            // The listener is non-blocking; the connection's reads wait with select, its sends block.
            SetSocketBlocking(accepted, true);
            return accepted;
        }
        Log::Write("Clipboard host refused peer=%s gen=%llu", peer.c_str(), U64(gen));
        CloseOwned(accepted, "ClipboardChannel::HostThread refused peer");
    }
    return INVALID_SOCKET;
}

void ClipboardChannel::ClientThread(const std::string& peer, uint16_t port, uint64_t gen) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, peer.c_str(), &address.sin_addr) != 1) {
        Log::Write("Clipboard invalid peer IP: %s", peer.c_str());
        return;
    }
    while (IsCurrent(gen)) {
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket == INVALID_SOCKET) {
            Pause(kReconnectPauseMs, gen);
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(m_socketMutex);
            if (!IsCurrent(gen)) {
                CloseSocketLogged(socket, "ClipboardChannel::ClientThread stale connect publish");
                break;
            }
            // An older connecting socket belongs to a thread of an earlier run, which closes it.
            ShutdownSocketQuiet(m_connectSocket.exchange(socket));
        }
        Log::Write("[CLIP][CONNECT] begin gen=%llu peer=%s:%u timeoutMs=%u", U64(gen), peer.c_str(),
                   unsigned(port), kClipboardConnectTimeoutMs);
        const int result = ClientConnect(socket, address, gen);
        bool owned = false;
        {
            std::lock_guard<std::mutex> lock(m_socketMutex);
            SOCKET expected = socket;
            owned = IsCurrent(gen) && m_connectSocket.compare_exchange_strong(expected, INVALID_SOCKET);
        }
        if (!owned) {
            Log::Write(
                "[CLIP][GEN][STALE_EXIT] role=client gen=%llu current=%llu reason=connect-ownership-lost",
                U64(gen), U64(m_generation.load()));
            CloseOwned(socket, "ClipboardChannel::ClientThread stale during connect");
            break;
        }
        if (result != 0) {
            if (LogThrottle::Allow("clipboard.client.connect.fail", 5000))
                Log::Write("[CLIP][CONNECT][FAIL] gen=%llu peer=%s:%u wsa=%d", U64(gen), peer.c_str(),
                           unsigned(port), result);
            CloseOwned(socket, "ClipboardChannel::ClientThread connect failed");
            Pause(kReconnectPauseMs, gen);
            continue;
        }
        SetSocketBlocking(socket, true);
        // A host that closes before it says anything (one that refuses this PC, say) is not asked again at
        // once: reconnecting without a pause would spin.
        if (!ServeConnection(socket, peer, port, "client", "client-connected", gen))
            Pause(kReconnectPauseMs, gen);
    }
    Log::Write("[CLIP][GEN][STALE_EXIT] role=client gen=%llu current=%llu reason=thread-exit", U64(gen),
               U64(m_generation.load()));
}

int ClipboardChannel::ClientConnect(SOCKET socket, const sockaddr_in& address, uint64_t gen) {
    if (!SetSocketBlocking(socket, false))
        return ::WSAGetLastError();
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return 0;
    const int started = ::WSAGetLastError();
    if (started != WSAEWOULDBLOCK && started != WSAEINPROGRESS && started != WSAEINVAL)
        return started;
    for (uint32_t waited = 0; waited < kClipboardConnectTimeoutMs; waited += kWaitSliceMs) {
        if (!IsCurrent(gen))
            return WSAEINTR;
        const int result = WaitForConnect(socket, kWaitSliceMs);
        if (result != WSAETIMEDOUT)
            return result;
    }
    return WSAETIMEDOUT;
}

bool ClipboardChannel::ServeConnection(SOCKET socket, const std::string& peer, uint16_t peerPort,
                                       const char* role, const char* reason, uint64_t gen) {
    SetSocketTimeouts(socket, kClipboardSocketTimeoutMs);
    const std::string local = LocalAddressOf(socket);
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        if (!IsCurrent(gen)) {
            CloseOwned(socket, "ClipboardChannel::stale peer publish");
            return false;
        }
        {
            std::lock_guard<std::mutex> peerLock(m_peerMutex);
            m_peerAddress = peer;
            m_localAddress = local;
        }
        // A connection of an earlier run belongs to its own thread, which closes it.
        ShutdownSocketQuiet(m_socket.exchange(socket));
    }
    Log::Write("[CLIP][SOCKET][PUBLISH] role=%s gen=%llu peer=%s:%u socket=%llu", role, U64(gen),
               peer.c_str(), unsigned(peerPort), U64(socket));
    SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_HELLO), 0, 0, 0, 0, nullptr, 0);
    FileTransferService::StartPendingFlush(reason);
    const uint64_t handled = ReceiveLoop(socket, gen);
    {
        std::lock_guard<std::mutex> lock(m_socketMutex);
        SOCKET expected = socket;
        m_socket.compare_exchange_strong(expected, INVALID_SOCKET);
    }
    {
        // A sender that read this socket before it was retired has finished once the lock is free.
        std::lock_guard<std::mutex> lock(m_sendMutex);
    }
    CloseOwned(socket, "ClipboardChannel::peer done");
    return handled > 0;
}

uint64_t ClipboardChannel::ReceiveLoop(SOCKET socket, uint64_t gen) {
    ClipboardMessageFramer framer;
    uint64_t handled = 0;
    bool broken = false; // rather than retired by Stop or ended by a cancel
    while (Owns(gen, socket)) {
        const bool midMessage = framer.MidMessage();
        int got = 0;
        {
            // Only the rest of a message is timed: waiting for the next one is the channel's normal idle.
            std::optional<StallScope> scope;
            if (midMessage)
                scope.emplace("Clipboard", "RecvAll", 100);
            const int ready = WaitReadable(socket, kWaitSliceMs);
            if (ready == 0)
                continue;
            got = ready < 0 ? SOCKET_ERROR
                            : ::recv(socket, reinterpret_cast<char*>(framer.Space()),
                                     static_cast<int>(framer.SpaceSize()), 0);
        }
        if (got <= 0) {
            const int wsa = got < 0 ? ::WSAGetLastError() : 0;
            if (got < 0 && (wsa == WSAETIMEDOUT || wsa == WSAEWOULDBLOCK))
                continue;
            if (Owns(gen, socket)) {
                broken = true;
                if (midMessage)
                    Log::Write("Clipboard recv payload break gen=%llu socket=%llu wsa=%d", U64(gen),
                               U64(socket), wsa);
                else
                    Log::Write("Clipboard recv header break gen=%llu socket=%llu wsa=%d", U64(gen),
                               U64(socket), wsa);
            }
            break;
        }
        const ClipboardMessageFramer::Status status = framer.Commit(static_cast<size_t>(got));
        if (status == ClipboardMessageFramer::Status::BadHeader) {
            Log::Write("Clipboard invalid header gen=%llu magic=0x%08X type=%u payload=%u", U64(gen),
                       framer.Magic(), framer.Header().type, framer.Header().payloadBytes);
            broken = true;
            break;
        }
        if (status != ClipboardMessageFramer::Status::Message)
            continue;
        const ClipboardMessage message = framer.Take();
        if (!Owns(gen, socket)) {
            Log::Write("[CLIP][GEN][STALE_EXIT] role=receive gen=%llu current=%llu reason=before-dispatch",
                       U64(gen), U64(m_generation.load()));
            break;
        }
        ++handled;
        if (!Dispatch(message, gen))
            break;
        const uint64_t id = message.header.id;
        if (ShouldCancelAfterMessage(message.header.type, id,
                                     FileTransferUi::Instance().IsCancelRequested(id))) {
            CancelLocally(id, socket, gen);
            break;
        }
    }
    FileTransferSnapshot snapshot;
    FileTransferUi::Instance().Snapshot(snapshot);
    if (ShouldFailTransferOnLoss(broken && Owns(gen, socket), snapshot.phase)) {
        Log::Write("Clipboard connection lost during transfer id=%llu", U64(snapshot.transferId));
        FileTransferUi::Instance().Fail(snapshot.transferId, Utf8ToUtf16(kTransferPeerLostText));
    }
    return handled;
}

bool ClipboardChannel::Dispatch(const ClipboardMessage& message, uint64_t gen) {
    const ClipboardMessageHeader& h = message.header;
    switch (static_cast<ClipboardMessageType>(h.type)) {
    case ClipboardMessageType::CB_HELLO:
        Log::Write("Clipboard HELLO received gen=%llu", U64(gen));
        return true;
    case ClipboardMessageType::CB_TEXT:
        OnText(message);
        return true;
    case ClipboardMessageType::CB_IMAGE:
        OnImage(message);
        return true;
    case ClipboardMessageType::CB_FILE_BEGIN:
        Log::Write("Legacy CB_FILE_BEGIN ignored id=%llu; use HTTP manifest transfer", U64(h.id));
        return true;
    case ClipboardMessageType::CB_FILE_DATA:
        Log::Write("Legacy CB_FILE_DATA ignored id=%llu size=%u; use HTTP manifest transfer", U64(h.id),
                   h.payloadBytes);
        return true;
    case ClipboardMessageType::CB_FILE_END:
        Log::Write("Legacy CB_FILE_END ignored id=%llu; use HTTP manifest transfer", U64(h.id));
        return true;
    case ClipboardMessageType::CB_FILE_LIST:
        Log::Write("Legacy CB_FILE_LIST ignored; use HTTP manifest transfer");
        return true;
    case ClipboardMessageType::CB_TRANSFER_STATUS:
        OnTransferStatus(message);
        return true;
    case ClipboardMessageType::CB_TRANSFER_BEGIN:
        Log::Write("Legacy CB_TRANSFER_BEGIN ignored id=%llu; use HTTP manifest transfer", U64(h.id));
        return true;
    case ClipboardMessageType::CB_CANCEL:
        OnPeerCancel(message);
        return false;
    case ClipboardMessageType::CB_FILE_OFFER:
        OnFileOffer(message);
        return true;
    case ClipboardMessageType::CB_FILE_REQUEST:
        Log::Write("Remote file request ignored: clipboard Ctrl+V pull path disabled");
        return true;
    case ClipboardMessageType::CB_HTTP_BEGIN:
        OnHttpBegin(message);
        return true;
    case ClipboardMessageType::CB_DRAG_PAYLOAD:
        OnDragPayload(message);
        return true;
    case ClipboardMessageType::CB_CLEAR_CLIPBOARD:
        OnClearRequest(message);
        return true;
    }
    Log::Write("Clipboard unknown msg type=%u", h.type);
    return true;
}

void ClipboardChannel::CancelLocally(uint64_t transferId, SOCKET socket, uint64_t gen) {
    SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_CANCEL), transferId, 0, 0, 0, nullptr, 0);
    FileTransferUi::Instance().Cancel(transferId, Utf8ToUtf16(kTransferUserCanceledText));
    if (Owns(gen, socket))
        DropConnection(socket);
    Log::Write("Clipboard transfer canceled locally id=%llu", U64(transferId));
}
