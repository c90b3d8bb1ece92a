#pragma once

#include <windows.h>

#include <cstddef>

// ControlView, the big connect button inside the main window: it shows the connection state in a word,
// starts or ends a session when clicked, and can be dragged anywhere inside the main window, which keeps its
// centre as a share of the client size. UI thread only.

LRESULT CALLBACK ControlViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The scale for the monitor nearest the main window (else ControlView; the primary screen without either).
double ControlViewScaleOf(HWND main);
// Sizes, places and shapes ControlView in the main window's client area, then synchronises its visibility.
void LayoutControlViewWindow(HWND main, HWND controlView);
// Shown unless this PC is controlling; RemoteView takes the focus when it hides. Logs each change.
void SyncControlViewWindowVisibility(HWND controlView);

// What the button reads besides the program state: the cable and the discovered peers.
struct ControlViewFacts {
    bool cablePresent = false;
    size_t discoveredPeers = 0;
};
using ControlViewFactsSource = ControlViewFacts (*)();
// Tests stand in for the cable and discovery; null: the process-wide presence and discovery.
void SetControlViewFactsSource(ControlViewFactsSource source);
