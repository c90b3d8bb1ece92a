#pragma once

#include <cstdint>

#include "ui/MainWindowGeometry.h"
#include "ui/ResizeHitTest.h"

// The window rectangle while a border is dragged: the edges that the border code names move by the cursor's
// travel since the press; the rest stay. Below 640 x 360 the moved edge is pulled back, so the opposite edge
// never moves. Any other code leaves start as it is.
WindowRect CustomResizeRect(int32_t hit, const WindowRect& start, ScreenPoint startCursor,
                            ScreenPoint cursor);
