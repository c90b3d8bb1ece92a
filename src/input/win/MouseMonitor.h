#pragma once

#include <cstdint>

class MonitorThread;

// Polls the cursor position and the three mouse buttons every 20 ms into the runtime state. Any thread
// may read the values at any time.
namespace MouseMonitor {
struct Reading {
    int32_t x = 0;
    int32_t y = 0;
    bool left = false;
    bool right = false;
    bool middle = false;
};

bool Start();
void Stop();
Reading Current();
// The polling thread: how many runs are live (tests).
const MonitorThread& Thread();
} // namespace MouseMonitor
