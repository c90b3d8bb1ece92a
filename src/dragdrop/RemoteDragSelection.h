#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "dragdrop/DragVisualSwitch.h"

// The injected packets the remote drag tells apart; the input side maps its packet types onto these.
enum class InjectedPacketKind { MouseMove, MouseButton, MouseWheel, Key, Other };

struct DragScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The controlled PC's system as the remote drag's gesture watch sees it.
class IRemoteDragSelectionPorts : public IDragVisualSwitch {
public:
    virtual uint32_t TickMs() = 0;
    // The local drag monitor runs (it comes and goes with the drag service).
    virtual bool MonitorRunning() = 0;
    virtual int32_t Role() = 0;
    virtual DragScreenPoint CursorPos() = 0;
    // A text editor is under the press point: a drag there selects text, not files. Logs its own hit.
    virtual bool TextEditAt(DragScreenPoint point) = 0;
    // Reads the shell selection at point on a thread of its own, which ends in StoreStartSelection with
    // gestureId and generation (also when it cannot run, with no paths).
    virtual void StartSelectionFill(DragScreenPoint point, uint64_t gestureId, uint64_t generation) = 0;
    // The runtime state's drop-ready and remote-drag records to inactive.
    virtual void ResetRuntimeDrag() = 0;
    // The runtime state still shows a remote drag (active, or a count of 1 or more).
    virtual bool RuntimeShowsRemoteDrag() = 0;
    // Hands the confirmed selection to the publishing worker: sizes (a folder walk, never on the input
    // thread), the runtime local-drag record and the offer to the controller.
    virtual void PublishSelection(std::vector<std::u16string> paths, uint64_t gestureId) = 0;
};

// The controlled PC's watch over the input it injects for the controller: a left press in Explorer and two
// consecutive moves of 12 pixels or more turn the selection under the press into an offer to the
// controller, which stays pending until the controller's Esc, a new press after the release, the first
// packet 1,200 ms after the release, a stale takeover or the drag service's stop.
//
// Threads: OnInputPacket, OnTakeoverInput and the publish run on the input host thread; Clear also runs on
// the UI thread; StoreStartSelection on the fill's own thread. The gesture mutex guards the pending offer,
// the takeover and the in-progress mark; the flags the input thread keeps and Clear resets are atomics.
// Lock order: the gesture mutex before the cache mutex.
class RemoteDragSelection {
public:
    static constexpr int32_t kRoleControlled = 2;
    static constexpr int32_t kThresholdPx = 12;
    static constexpr int32_t kConfirmSamples = 2;
    static constexpr uint32_t kSourceUpGraceMs = 1200;
    static constexpr uint32_t kAttemptCooldownMs = 120;
    static constexpr uint32_t kPublishCooldownMs = 160;
    static constexpr uint32_t kKeepLogMs = 500;
    static constexpr int32_t kRankNone = -1;
    static constexpr uint32_t kClipboardCacheMaxAgeMs = 3000;

    explicit RemoteDragSelection(IRemoteDragSelectionPorts& ports) : m_ports(ports) {}

    // After a packet was injected whole; data1 is the button or virtual key, data2 the down flag or key
    // flags.
    void OnInputPacket(InjectedPacketKind kind, uint32_t type, int32_t data1, int32_t data2);
    // Before a move, button, wheel or key packet is injected. Never blocks: always false.
    bool OnTakeoverInput(InjectedPacketKind kind, uint32_t type, int32_t data1, int32_t data2);
    void Clear(const char* tag, const char* reason);
    void ClearStartCache();
    // The fill's result; dropped when a newer press or a reset came since it started.
    void StoreStartSelection(uint64_t gestureId, uint64_t generation, DragScreenPoint point,
                             std::vector<std::u16string> paths, int32_t rank);
    // The Ctrl+C fallback (a copy whose clipboard lists no readable paths): the start selection when it is
    // filled, not empty and at most 3,000 ms old. The cache stays as it is.
    bool TakeStartCacheForClipboard(std::vector<std::u16string>& paths);
    // The publishing worker asks before it sends: an offer cleared meanwhile is not sent.
    bool IsPendingGesture(uint64_t gestureId);

    // For the tests and the log.
    bool IsPending();
    bool IsTakeover();
    uint64_t GestureId() const { return m_gestureId.load(); }

private:
    void SourceUpGraceClear(const char* reason, uint32_t now);
    void OnLeftPress();
    void OnLeftRelease();
    void OnMove();
    void Publish(uint32_t now);
    void EndAttempt();

    IRemoteDragSelectionPorts& m_ports;

    // Input thread writes; Clear (UI thread) resets.
    std::atomic<uint64_t> m_gestureId{0};
    std::atomic<bool> m_leftHeld{false};
    std::atomic<bool> m_published{false};
    std::atomic<bool> m_guard{false};
    std::atomic<int32_t> m_samples{0};
    DragScreenPoint m_press;        // input thread only
    uint32_t m_attemptTick = 0;     // input thread only; never reset by a clear
    uint32_t m_lastPublishTick = 0; // input thread only; never reset by a clear

    std::mutex m_gestureMutex;
    bool m_pending = false;        // under m_gestureMutex
    bool m_inProgress = false;     // under m_gestureMutex
    uint64_t m_pendingId = 0;      // under m_gestureMutex
    uint32_t m_pendingTick = 0;    // under m_gestureMutex
    bool m_takeover = false;       // under m_gestureMutex
    bool m_sourceHeld = false;     // under m_gestureMutex
    uint32_t m_sourceUpTick = 0;   // under m_gestureMutex
    uint32_t m_keepLogTick = 0;    // under m_gestureMutex: the last PENDING_KEEP or WAIT_ACK line
    uint32_t m_noBlockLogTick = 0; // under m_gestureMutex

    std::mutex m_cacheMutex;
    std::vector<std::u16string> m_paths; // under m_cacheMutex
    bool m_cacheValid = false;           // under m_cacheMutex
    bool m_fillPending = false;          // under m_cacheMutex
    int32_t m_rank = kRankNone;          // under m_cacheMutex
    uint32_t m_fillTick = 0;             // under m_cacheMutex
    uint64_t m_generation = 0;           // under m_cacheMutex
};

// The offer's one-line description: the first path, then " +N" for N more.
std::string RemoteDragOfferDetail(const std::string& firstUtf8, size_t count);
