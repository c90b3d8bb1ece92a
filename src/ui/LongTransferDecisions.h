#pragma once

#include <cstdint>

// What the main window reads of the transfer progress model: its phase (1 sending, 2 receiving, others
// idle or finished), the transfer's id and its total size.
struct TransferUiSnapshot {
    int32_t phase = 0;
    uint64_t id = 0;
    uint64_t total = 0;
};

inline bool IsTransferMoving(const TransferUiSnapshot& s) {
    return s.phase == 1 || s.phase == 2;
}

// The transfer the main window watches for the long-transfer show; id 0 = none. UI thread only.
struct LongTransferTracking {
    uint64_t id = 0;
    uint32_t startTick = 0;
    bool shown = false;
};

inline constexpr uint32_t kLongTransferDelayMinMs = 1000;
inline constexpr uint32_t kLongTransferDelayMaxMs = 60000;
uint32_t ClampLongTransferDelay(uint32_t delayMs);

// A transfer event. While this PC is the controller and a transfer moves: a new id starts the tracking
// (started), and the long-transfer worker is armed (arm). Otherwise the tracking is reset; resetId names what
// was tracked (0: nothing was, so nothing is logged).
struct TransferEventOutcome {
    bool arm = false;
    bool started = false;
    uint64_t resetId = 0;
};
TransferEventOutcome OnTransferEvent(LongTransferTracking& tracking, bool controller,
                                     const TransferUiSnapshot& snapshot, uint32_t now);

// Resets the tracking; returns the id that was tracked (0: none).
uint64_t ResetLongTransferTracking(LongTransferTracking& tracking);

// The worker's late "show" for transfer postedId. RefreshOnly and BringForward mark the tracking shown.
enum class LongShowAction { SkipNotController, SkipIdChanged, RefreshOnly, BringForward };
LongShowAction DecideLongTransferShow(LongTransferTracking& tracking, bool controller,
                                      const TransferUiSnapshot& snapshot, uint64_t postedId,
                                      bool mainWindowOnTop);
