#pragma once

#include <windows.h>

#include "ui/win/FullscreenWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowResize.h"
#include "ui/win/WindowDpi.h"

// The main window's custom resize, fullscreen and DPI pieces, laid over the parts Base gives: the program's
// own parts object and the resize tests install the same overrides.
template <class Base = IMainWindowParts> class ResizeMainWindowParts : public Base {
public:
    bool IsResizeIdle() override { return MainResizeShared().LayoutAllowed(); }
    void DeferLayout(HWND main, const char* reason) override { MainResize(main).DeferLayout(reason); }
    void EndResize(HWND main, const char* reason, bool forced) override {
        (void)forced; // the window is going away: always forced
        MainResize(main).EndAll(reason);
    }
    bool CancelCustomResize(HWND main) override { return MainResize(main).CancelCustom(); }
    bool HandleResizeMessage(HWND main, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result) override {
        return HandleMainResizeMessage(main, message, wParam, lParam, result);
    }
    void OnResizeTimer(HWND main, UINT_PTR id) override { OnMainResizeTimer(main, id); }
    bool IsFullscreen() override { return ::IsFullscreen(); }
    void FullscreenRelayout(HWND main) override { PositionFullscreenHint(main); }
    void ToggleFullscreen(HWND main, const char* source) override { ::ToggleFullscreen(main, source); }
    HWND FullscreenHintLabel() override { return FullscreenHintWindow(); }
    void EndFullscreenHint(HWND main) override { ::EndFullscreenHint(main); }
    void LogDpiLine(HWND main, const char* text) override { LogWindowDpi(main, text); }
};
