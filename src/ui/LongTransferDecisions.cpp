#include "ui/LongTransferDecisions.h"

#include <algorithm>

uint32_t ClampLongTransferDelay(uint32_t delayMs) {
    return std::clamp(delayMs, kLongTransferDelayMinMs, kLongTransferDelayMaxMs);
}

uint64_t ResetLongTransferTracking(LongTransferTracking& tracking) {
    uint64_t was = tracking.id;
    tracking = LongTransferTracking{};
    return was;
}

TransferEventOutcome OnTransferEvent(LongTransferTracking& tracking, bool controller,
                                     const TransferUiSnapshot& snapshot, uint32_t now) {
    TransferEventOutcome out;
    if (!controller || !IsTransferMoving(snapshot)) {
        out.resetId = ResetLongTransferTracking(tracking);
        return out;
    }
    if (snapshot.id != tracking.id) {
        tracking.id = snapshot.id;
        tracking.startTick = now;
        tracking.shown = false;
        out.started = true;
    }
    out.arm = true;
    return out;
}

LongShowAction DecideLongTransferShow(LongTransferTracking& tracking, bool controller,
                                      const TransferUiSnapshot& snapshot, uint64_t postedId,
                                      bool mainWindowOnTop) {
    if (!controller)
        return LongShowAction::SkipNotController;
    if (!IsTransferMoving(snapshot) || snapshot.id != postedId)
        return LongShowAction::SkipIdChanged;
    tracking.shown = true;
    return mainWindowOnTop ? LongShowAction::RefreshOnly : LongShowAction::BringForward;
}
