#include "media/VideoTransportTiming.h"

uint32_t VideoConnectAttemptWaitMs(uint64_t elapsedMs) {
    if (elapsedMs >= kVideoConnectBudgetMs)
        return 0;
    return static_cast<uint32_t>(kVideoConnectBudgetMs - elapsedMs);
}
