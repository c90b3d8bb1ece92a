#include "core/StallWatchdogPass.h"

#include <cstdarg>
#include <cstdio>

#include "core/BuildInfo.h"
#include "core/Printf.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

std::string FormatLine(const char* format, ...) TSLY_PRINTF(1, 2);
std::string FormatLine(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    int len = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return len >= 0 ? std::string(text) : std::string();
}

const char* OrUnknown(const char* text) {
    return text ? text : "?";
}

unsigned long long Since(uint64_t now, uint64_t then) {
    return now >= then ? now - then : 0;
}

void AddActiveThreads(std::vector<std::string>& lines, const StallState& state, uint64_t now) {
    lines.emplace_back("[STALL][INCIDENT] active-threads begin");
    for (const StallSlot& s : state.slots) {
        uint32_t tid = s.threadId.load(kRelaxed);
        if (tid == 0 || !s.active.load(kRelaxed))
            continue;
        lines.push_back(
            FormatLine("[STALL][ACTIVE] tid=%lu running=%llums module=%s op=%s calls=%llu slow=%llu",
                       static_cast<unsigned long>(tid), Since(now, s.startTick.load(kRelaxed)),
                       OrUnknown(s.module.load(kRelaxed)), OrUnknown(s.operation.load(kRelaxed)),
                       static_cast<unsigned long long>(s.calls.load(kRelaxed)),
                       static_cast<unsigned long long>(s.slow.load(kRelaxed))));
    }
    lines.emplace_back("[STALL][INCIDENT] active-threads end");
}

void AddRecentEvents(std::vector<std::string>& lines, const StallState& state, uint64_t now) {
    uint64_t newest = state.eventCount.load(kRelaxed);
    lines.push_back(FormatLine("[STALL][INCIDENT] recent-events begin newest=%llu",
                               static_cast<unsigned long long>(newest)));
    uint64_t first = newest < kStallDumpEvents + 1 ? 1 : newest - (kStallDumpEvents - 1);
    for (uint64_t n = first; n <= newest; ++n) {
        const StallEvent& e = state.ring[n % kStallRingSize];
        // An entry already overwritten by a newer event, or not yet filled, is left out.
        if (e.sequence.load(std::memory_order_acquire) != n)
            continue;
        lines.push_back(FormatLine(
            "[STALL][EVENT] age=%llums tid=%lu phase=%c module=%s op=%s cost=%lums",
            Since(now, e.tick.load(kRelaxed)), static_cast<unsigned long>(e.threadId.load(kRelaxed)),
            e.phase.load(kRelaxed), OrUnknown(e.module.load(kRelaxed)), OrUnknown(e.operation.load(kRelaxed)),
            static_cast<unsigned long>(e.costMs.load(kRelaxed))));
    }
    lines.emplace_back("[STALL][INCIDENT] recent-events end");
}

} // namespace

std::string StallWatchdogStartLine() {
    return FormatLine("[STALL][WATCHDOG] start poll=%lums version=%s",
                      static_cast<unsigned long>(kStallWatchdogPollMs), BuildInfo::kVersion);
}

std::vector<std::string> RunStallWatchdogPass(StallState& state, uint64_t now) {
    std::vector<std::string> lines;
    for (StallSlot& s : state.slots) {
        if (!s.active.load(kRelaxed))
            continue;
        uint64_t start = s.startTick.load(kRelaxed);
        uint64_t threshold = s.thresholdMs.load(kRelaxed);
        if (start == 0 || now < start || now - start < threshold)
            continue;
        uint64_t reported = s.reportTick.load(kRelaxed);
        if (reported != 0 && now >= reported && now - reported < kStallReportIntervalMs)
            continue;
        s.reportTick.store(now, kRelaxed);
        lines.push_back(FormatLine("[STALL][WATCHDOG] tid=%lu running=%llums threshold=%lums module=%s op=%s",
                                   static_cast<unsigned long>(s.threadId.load(kRelaxed)),
                                   static_cast<unsigned long long>(now - start),
                                   static_cast<unsigned long>(threshold), OrUnknown(s.module.load(kRelaxed)),
                                   OrUnknown(s.operation.load(kRelaxed))));
    }
    if (lines.empty())
        return lines;
    AddActiveThreads(lines, state, now);
    AddRecentEvents(lines, state, now);
    return lines;
}
