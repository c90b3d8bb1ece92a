#pragma once

#include "input/ScreenScale.h"

// Measures the screen that shows the main window (else the one under the cursor) every 250 ms into the
// runtime state. Any thread may read the values at any time.
namespace ScreenScaleMonitor {
bool Start();
void Stop();
ScreenScaleState Current();
// Measures now; logs the state when forced or changed, and raises the change notice when the runtime
// state changed.
void Refresh(bool force);
} // namespace ScreenScaleMonitor
