#pragma once

#include "core/RuntimeState.h"

// The Win32 window poster of the runtime state (PostMessageW, InvalidateRect). Process-wide, never
// destroyed. Install once at start-up, before the main window exists:
//     RuntimeSetWindowPoster(&Win32RuntimeWindowPoster());
IRuntimeWindowPoster& Win32RuntimeWindowPoster();
