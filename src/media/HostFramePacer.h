#pragma once

#include <cstdint>

// Due-time pacing of the host's frames on the 32-bit millisecond tick (differences are unsigned, so the
// tick's wrap-around is harmless). Frames follow due times rather than fixed sleeps, so the time spent in
// capture, encode and send does not stretch the interval.
enum class HostFrameSource { Normal, Hidden, Secure };

// 100 ms on the secure source, 1,000 ms while the controller's view is hidden, else the active interval.
uint32_t HostFrameIntervalMs(HostFrameSource source, uint32_t activeFrameMs);

class HostFramePacer {
public:
    // Starts a schedule whose first frame is due now.
    void Reset(uint32_t now);
    // Milliseconds until the next frame; 0 when it is due.
    uint32_t RemainingMs(uint32_t now) const;
    // How long to wait before looking again, for a frame remaining ms away: on the secure source up to
    // 100 ms (on its frame-ready event); while hidden 50 ms when more than 50 remain, else the rest; else 1.
    static uint32_t WaitMs(HostFrameSource source, uint32_t remaining);
    // Takes the due frame: the due time moves on by one interval, or to now + interval when it lagged
    // more than 200 ms behind.
    void Advance(uint32_t now, uint32_t intervalMs);

private:
    uint32_t m_due = 0;
};
