#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/LongTransferDecisions.h"

// The transfer progress window: a small dark popup over the main window with the transfer's figures, a
// progress bar and a Cancel/Close button. The main window registers its class ("Marlo_TransferProgressView")
// with TransferProgressWindowProc, creates it hidden and refreshes it through message 0x8530; these are
// the calls its parts object makes. UI thread only, unless said otherwise.

inline constexpr int kTransferViewWidth = 390;
inline constexpr int kTransferViewHeight = 158;
inline constexpr UINT kTransferViewButtonId = 1001;

WNDPROC TransferProgressWindowProc();
// Centres the window over the main window's client area, at least 12 px from its top-left corner.
void PositionTransferProgressWindow(HWND main, HWND progress);
// Sets the refresh-pending flag; true when it was clear, so one 0x8530 is posted per burst (any thread).
bool MarkTransferRefreshPending();
// Shows the window with the model's figures, or hides it (not the controller, nothing to show).
void RefreshTransferProgressWindow(HWND progress);
// The main window went to the tray: the window hides with it.
void HideTransferProgressWithMainWindow(HWND progress);
// What the main window reads of the model (any thread).
TransferUiSnapshot TransferUiSnapshotForMainWindow();
// The model's status line, clearing a finished transfer after 5 s (any thread).
std::string TransferWindowTick();
