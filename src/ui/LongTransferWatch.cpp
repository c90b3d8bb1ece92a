#include "ui/LongTransferWatch.h"

LongTransferWatchStep StepLongTransferWatch(LongTransferWatch& watch, bool controller,
                                            const TransferUiSnapshot& snapshot, uint32_t now,
                                            uint32_t delayMs) {
    LongTransferWatchStep step;
    if (!controller || !IsTransferMoving(snapshot)) {
        watch.tracking = false;
        watch.id = 0;
        return step;
    }
    if (!watch.tracking || watch.id != snapshot.id) {
        watch.tracking = true;
        watch.id = snapshot.id;
        watch.startTick = now;
        watch.postedId = 0;
        step.startedTracking = true;
    }
    step.ageMs = now - watch.startTick;
    if (step.ageMs >= ClampLongTransferDelay(delayMs) && watch.postedId != snapshot.id) {
        watch.postedId = snapshot.id;
        step.post = true;
    }
    return step;
}
