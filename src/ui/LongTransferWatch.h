#pragma once

#include <cstdint>

#include "ui/LongTransferDecisions.h"

// The long-transfer watcher's memory between its 500 ms looks: which moving transfer it follows, since when,
// and whether it already asked the main window to come forward for it (once per transfer id).
struct LongTransferWatch {
    bool tracking = false;
    uint64_t id = 0;
    uint32_t startTick = 0;
    uint64_t postedId = 0;
};

struct LongTransferWatchStep {
    bool startedTracking = false; // a new id is followed from now
    bool post = false;            // post the show message now
    uint32_t ageMs = 0;
};

// One look: while this PC is the controller and a transfer moves, follow it; once it is older than the
// delay (clamped to 1..60 s), post for it once. Anything else drops the tracking.
LongTransferWatchStep StepLongTransferWatch(LongTransferWatch& watch, bool controller,
                                            const TransferUiSnapshot& snapshot, uint32_t now,
                                            uint32_t delayMs);
