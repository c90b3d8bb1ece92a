#pragma once

#include <windows.h>

#include <cstdint>

// BlackCover: the black child window that lies over RemoteView (or the main window when RemoteView does
// not exist) whenever there is no picture. It is created and shown on the UI thread only. Other threads go
// through IRemoteViewCover (media/RemoteViewCover.h): they record the wish and post
// WM_APP_BLACK_COVER_APPLY to the cover, else to RemoteView, else to the main window, whose procedure
// calls BlackCoverApplyWish.

inline constexpr wchar_t kBlackCoverClass[] = L"Tessaly_BlackCover_Wnd";
inline constexpr UINT WM_APP_BLACK_COVER_APPLY = 0x8450;

// 0 when registered, else the Win32 error (ERROR_CLASS_ALREADY_EXISTS included).
uint32_t RegisterBlackCoverClass(HINSTANCE instance);
// Installs the cover object behind RemoteViewCover(). Once, at start-up.
void InstallBlackCover();

LRESULT CALLBACK BlackCoverWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// UI thread only below.
HWND CreateBlackCover(HWND parent);
void ShowBlackCover(bool show);
void PaintRemoteViewBlack();
// Carries out the wish recorded by another thread (WM_APP_BLACK_COVER_APPLY).
void BlackCoverApplyWish();
HWND BlackCoverWindow();
bool IsBlackCoverVisibleFlag();
// Sizes the cover to RemoteView's client rect, creating it when missing, and shows it again when the
// cover-visible flag is set (RemoteView's layout).
void FitBlackCoverToRemoteView(HWND remoteView);
// On RemoteView's destruction.
void DestroyBlackCover();
