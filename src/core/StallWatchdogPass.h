#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/StallScope.h"

inline constexpr uint32_t kStallWatchdogPollMs = 100;
// A slot that stays over budget is reported again only after this long.
inline constexpr uint64_t kStallReportIntervalMs = 2000;
// Number of recent events an incident dump lists.
inline constexpr uint64_t kStallDumpEvents = 24;

// "[STALL][WATCHDOG] start poll=100ms version=..." with the build version.
std::string StallWatchdogStartLine();

// One watchdog check at now. Reports every active slot that has run for at least its threshold and was
// not reported within the last kStallReportIntervalMs (stamping now as its report tick), then, when any
// was reported, an incident dump: what every active thread is doing and the most recent events. Returns
// the lines to log; empty when nothing is reported.
std::vector<std::string> RunStallWatchdogPass(StallState& state, uint64_t now);
