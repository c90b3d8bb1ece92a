#pragma once

#include <cstdint>
#include <string>

#include "core/RuntimeState.h"

// Resource counters of the process as the operating system reports them; 0 where a query failed.
struct ProcessResourceCounters {
    uint64_t workingSetBytes = 0;
    uint64_t privateBytes = 0;
    uint32_t handles = 0;
    uint32_t threads = 0;
};

// "Idle", "Controller", "Controlled", "Switching" for roles 0 to 3, else "Unknown".
const char* LongRunGuardRoleText(int32_t role);

// The long-run guard's sample line: "LongRunGuard reason=%s wsMB=... peer=%s", memory in MiB (rounded
// down), a null reason as "?".
std::string FormatLongRunGuardLine(const char* reason, const ProcessResourceCounters& counters,
                                   const RuntimeSnapshot& snapshot);
