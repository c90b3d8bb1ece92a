#pragma once

#include <windows.h>

// The window procedure of ControlView, the big connect button: a click starts or ends a session. Its
// drawing and dragging are not built yet; the whole window counts as the button.
LRESULT CALLBACK ControlViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
