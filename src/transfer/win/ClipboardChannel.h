#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/PeerFilter.h"
#include "core/Printf.h"

enum class ClipboardKind : uint32_t;

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
    uint64_t m_offerId = 0;         // under m_offerMutex
    int32_t m_offerCount = 0;       // under m_offerMutex
    std::string m_offerPayload;     // under m_offerMutex
    std::atomic<bool> m_probeRunning{false};
    std::atomic<uint32_t> m_probeStartTick{0};
    std::atomic<uint32_t> m_ctrlCSequence{0};
    mutable std::mutex m_peerMutex;
    std::string m_peerAddress; // under m_peerMutex
    PeerFilter m_peerFilter;

    // Local clipboard, offers and paste (ClipboardChannelWatch/Offer/Paste.cpp).
    // The clipboard status line: logged as "Clipboard progress: %s" and shown as the runtime status text.
    static void ClipboardStatus(const char* format, ...) TSLY_PRINTF(1, 2);
    // The runtime record of the last clipboard content (kind, item count, reason).
    static void RecordClipboard(ClipboardKind kind, int32_t count, const char* reason);
    // Clears the cached remote offer, logs it and records the reason as the clipboard kind NONE.
    void ClearRemoteOffer(const char* reason);
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
