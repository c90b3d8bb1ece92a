#pragma once

#include <windows.h>

// Gives a window of w x h a rounded region (corner ellipse `ellipse`) and asks the window manager for round
// corners where it offers them (dwmapi, looked up at run time).
void RoundWindowCorners(HWND window, int w, int h, int ellipse);
