#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/PeerFilter.h"
#include "core/Printf.h"
#include "transfer/ClipboardKind.h"
#include "transfer/ClipboardMessage.h"

struct CommandMessage;

// The clipboard channel: one TCP connection between the two PCs (host on the controlled PC, client on the
// controller) carrying clipboard text and images, file offers, HTTP transfer announcements, transfer
// reports, cancels and the remote drag's payload. One process-wide object.
//
// Files:
//   ClipboardChannel.cpp          start, stop, sockets, send and receive, relays
//   ClipboardChannelThreads.cpp   host and client threads, the receive loop and its dispatch
//   ClipboardChannelReceive.cpp   handlers of received messages (clipboard writes, offers, reports)
//   ClipboardChannelWatch.cpp     local clipboard watch, text and image sends
//   ClipboardChannelOffer.cpp     Ctrl+C file offers and the offer probe
//   ClipboardChannelPaste.cpp     paste of the peer's offer, dropped-file sends
//
// Runs are numbered: every start and every Stop takes a new generation, and a thread serves one run; it
// publishes a socket only while its run is current and leaves by itself once it is not (Stop never joins).
// Sockets: the listener belongs to the channel (whoever takes it out of m_listenSocket closes it). The
// connecting and the connected socket belong to the thread that made them: to retire one, Stop, a cancel or
// a broken send take it out of m_connectSocket or m_socket and shut it down, which wakes the owner, and the
// owner closes it, so no thread ever uses a handle that was closed and handed out again. Senders read
// m_socket under the send mutex, and an owner takes the send mutex once before it closes a retired socket.
//
// Locks: m_socketMutex, then m_peerMutex (publishing a connection); every other mutex is a leaf. Only the
// send mutex is held across a send (one whole message); none is held while calling out of the channel.
class ClipboardChannel {
public:
    static ClipboardChannel& Instance();

    // --- Lifecycle (any thread).
    bool StartHost(uint16_t port);
    bool StartClient(const std::string& peerIpv4, uint16_t port);
    void Stop();
    bool IsRunning() const { return m_running.load(); }
    // Running and a connection published.
    bool IsConnected() const { return m_running.load() && m_socket.load() != INVALID_SOCKET; }
    // The host serves only peers this filter allows (start-up: the active peer).
    void SetPeerFilter(PeerFilter::Allows allows) { m_peerFilter.Set(std::move(allows)); }
    // The address of the connected peer ("" when none); the HTTP client connects only there.
    std::string PeerAddress() const;
    // The local address of the connected socket ("" when none).
    std::string GetLocalAddress() const;

    // --- Sending (any thread). False when the message was not written whole; a partial write closes the
    // connection so the stream never goes out of step.
    bool SendMessage(uint32_t type, uint64_t id, uint64_t a, uint64_t b, uint32_t c, const void* payload,
                     uint32_t payloadBytes);

    // --- Local clipboard (UI thread unless said otherwise).
    void OnLocalClipboardUpdate(HWND owner);
    void TrySendClipboardText(HWND owner);
    void TrySendClipboardImage(HWND owner);
    bool SendFileOffer(HWND owner);
    bool IsLocalClipboardEmpty();
    // The peer's cached file offer exists (any thread).
    bool HasRemoteFileOffer();
    bool QueueRemoteFilesPaste();
    bool StartRemoteClipboardFilesPaste();
    // An injected Ctrl+C on the controlled PC: records the clipboard sequence number, clears the
    // text-or-image flag and starts the offer probe (at most one, 120 ms apart) when connected.
    void OnInjectedCtrlC();
    void QueueDroppedFiles(const std::vector<std::wstring>& paths);
    void StartHttpTransfer(const std::vector<std::wstring>& paths);

private:
    ClipboardChannel() = default;
    friend struct ClipboardChannelAccess; // the files listed above share the members below

    bool IsCurrent(uint64_t gen) const { return m_running.load() && m_generation.load() == gen; }
    // The run is current and socket is still the published connection.
    bool Owns(uint64_t gen, SOCKET socket) const { return IsCurrent(gen) && m_socket.load() == socket; }
    // Retires the connection, the connecting socket (shut down; their threads close them) and closes the
    // listener.
    void CloseSockets();
    // Retires socket when it is still the published connection: shut down so its owner wakes and closes it.
    // False when it was no longer published.
    bool DropConnection(SOCKET socket);
    bool SendAll(SOCKET socket, const uint8_t* bytes, size_t count, size_t& sent);
    void SubscribeRelays();
    void UnsubscribeRelays();
    void RelayTransferReport(const CommandMessage& command);

    // Threads (ClipboardChannelThreads.cpp).
    void RunChannelThread(const char* name, const char* role, uint64_t gen,
                          const std::function<void()>& body);
    void HostThread(uint16_t port, uint64_t gen);
    SOCKET HostListen(uint16_t port, uint64_t gen);
    // Waits for a peer that the filter allows; INVALID_SOCKET when the run ended or accept failed.
    SOCKET HostAccept(SOCKET listener, uint64_t gen, std::string& peer, uint16_t& peerPort, int& wsa);
    void ClientThread(const std::string& peer, uint16_t port, uint64_t gen);
    // 0 when connected, else the Winsock error; waits in short slices so a Stop is seen at once.
    int ClientConnect(SOCKET socket, const sockaddr_in& address, uint64_t gen);
    // Publishes an open connection, says HELLO, runs the receive loop and closes the connection after. True
    // when the peer sent at least one message.
    bool ServeConnection(SOCKET socket, const std::string& peer, uint16_t peerPort, const char* role,
                         const char* reason, uint64_t gen);
    // Reads and handles messages until the connection breaks, is retired or a cancel ends it; a connection
    // that broke fails the transfer that was moving. The number of messages handled.
    uint64_t ReceiveLoop(SOCKET socket, uint64_t gen);
    // Handles one message; false when the loop must end (the peer canceled).
    bool Dispatch(const ClipboardMessage& message, uint64_t gen);
    void CancelLocally(uint64_t transferId, SOCKET socket, uint64_t gen);
    void Pause(uint32_t ms, uint64_t gen) const;

    // Handlers (ClipboardChannelReceive.cpp).
    void OnText(const ClipboardMessage& message);
    void OnImage(const ClipboardMessage& message);
    void OnFileOffer(const ClipboardMessage& message);
    void OnClearRequest(const ClipboardMessage& message);
    void OnHttpBegin(const ClipboardMessage& message);
    void OnTransferStatus(const ClipboardMessage& message);
    void OnPeerCancel(const ClipboardMessage& message);
    void OnDragPayload(const ClipboardMessage& message);
    // Clears the cached remote offer, logs it and records the reason as the clipboard kind NONE.
    void ClearRemoteOffer(const char* reason);
    // Sets the echo-guard deadline 1,000 ms ahead: the local clipboard update that a received text or image
    // causes is not sent back.
    void ArmEchoGuard();
    // The clipboard status line: logged as "Clipboard progress: %s", stored as the runtime status text and
    // the main window repainted (256 characters at most).
    static void StatusLine(const char* format, ...) TSLY_PRINTF(1, 2);

    std::atomic<bool> m_running{false};
    std::atomic<uint64_t> m_generation{0};
    std::atomic<SOCKET> m_socket{INVALID_SOCKET};
    std::atomic<SOCKET> m_connectSocket{INVALID_SOCKET};
    std::atomic<SOCKET> m_listenSocket{INVALID_SOCKET};
    std::mutex m_threadMutex;
    std::thread m_thread;
    std::mutex m_socketMutex;
    std::mutex m_sendMutex;
    std::atomic<uint64_t> m_messageCounter{1};
    std::atomic<uint32_t> m_echoGuardDeadline{0};
    std::atomic<bool> m_textOrImage{false};
    uint64_t m_progressSub = 0, m_doneSub = 0, m_errorSub = 0, m_cancelSub = 0; // under m_threadMutex
    std::mutex m_offerMutex;
    uint64_t m_offerId = 0;     // under m_offerMutex
    int32_t m_offerCount = 0;   // under m_offerMutex
    std::string m_offerPayload; // under m_offerMutex
    std::atomic<bool> m_probeRunning{false};
    std::atomic<uint32_t> m_probeStartTick{0};
    std::atomic<uint32_t> m_ctrlCSequence{0};
    mutable std::mutex m_peerMutex;
    std::string m_peerAddress;  // under m_peerMutex
    std::string m_localAddress; // under m_peerMutex
    PeerFilter m_peerFilter;

    // Local clipboard, offers and paste (ClipboardChannelWatch/Offer/Paste.cpp).
    // The runtime record of the last clipboard content (kind, item count, reason).
    static void RecordClipboard(ClipboardKind kind, int32_t count, const char* reason);
    // Sends the clear form of CB_FILE_OFFER, so the peer forgets an offer this PC made earlier, and logs it.
    bool SendOfferClear(const char* reason);
    // The host of the offer's manifest address: the channel's local address, so that the peer reaches the
    // HTTP server over the same link; "127.0.0.1" when there is none.
    std::string OfferHost() const;
    void OfferProbeThread();
    void SendDroppedFilesWhenConnected(const std::vector<std::wstring>& paths);
    // transferId receives the transfer's id as soon as it has one, so that a failure after it can end it.
    void StartHttpTransfer(const std::vector<std::wstring>& paths, uint64_t& transferId);
};
