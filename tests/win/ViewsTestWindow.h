#pragma once

// The main window with its ControlView and StateView wired as in the program, for the drawing and mouse
// tests of the two views. The lifecycle is stubbed (no discovery starts), the keyboard hook is left out and
// the views read test facts.

#include <gtest/gtest.h>

#include <windows.h>

#include "TestWait.h"
#include "WindowSnapshot.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/RuntimeNotifierWin.h"
#include "ui/win/ControlViewWindow.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/StateViewPanel.h"
#include "ui/win/StateViewVisibility.h"

class ViewsParts final : public IMainWindowParts {
public:
    double ControlViewScale(HWND main) override { return ControlViewScaleOf(main); }
    void LayoutControlView(HWND main, HWND view) override { LayoutControlViewWindow(main, view); }
    void SyncControlViewVisibility(HWND view) override { SyncControlViewWindowVisibility(view); }
    void LayoutStateView(HWND main, HWND view) override { LayoutStateViewWindow(main, view); }
    HOOKPROC KeyboardHookProc() override { return nullptr; }
    void HotkeyPoll(HWND) override {}
};

class ViewsWindowTest : public ::testing::Test {
protected:
    static constexpr int kClientWidth = 900, kClientHeight = 560;

    static void SetUpTestSuite() {
        ASSERT_TRUE(Log::Open());
        HINSTANCE instance = GetModuleHandleW(nullptr);
        for (WindowClass c :
             {WindowClass::RemoteView, WindowClass::ControlView, WindowClass::StateView, WindowClass::Main})
            RegisterTessalyWindowClass(instance, c);
        SetMainWindowLifecycle({[] { return true; }, [](const char*) {}});
        RuntimeSetWindowPoster(&Win32RuntimeWindowPoster());
        ConfigService::Instance().SetUiLanguageEnglish(true);
    }
    static void TearDownTestSuite() { SetMainWindowLifecycle({}); }

    void SetUp() override {
        RuntimeStateReset();
        SetMainWindowParts(&m_parts);
        // The pointer stays off the window unless a test puts it there.
        SetCursorPos(1270, 790);
        ASSERT_TRUE(CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW).ok);
        m_main = MainWindowHandle();
        ASSERT_NE(m_main, nullptr);
        // The panel's flag outlives a main window: an earlier test may have left it on.
        if (IsStateViewVisible())
            FlipStateViewVisible();
        ResizeClient(kClientWidth, kClientHeight);
        PumpFor(50);
        m_control = reinterpret_cast<HWND>(RuntimeGetControlViewWindow());
        m_state = reinterpret_cast<HWND>(RuntimeGetStateViewWindow());
        ASSERT_NE(m_control, nullptr);
        ASSERT_NE(m_state, nullptr);
    }

    void TearDown() override {
        if (m_main != nullptr && IsWindow(m_main))
            DestroyWindow(m_main);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetMainWindowParts(nullptr);
        RuntimeStateReset();
    }

    // Puts the main window at the top left with a client area of width x height.
    void ResizeClient(int width, int height) {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, GetWindowLongW(m_main, GWL_STYLE), FALSE, GetWindowLongW(m_main, GWL_EXSTYLE));
        SetWindowPos(m_main, HWND_TOP, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
        PumpUntil(
            [&] {
                RECT client{};
                GetClientRect(m_main, &client);
                return client.right == width && client.bottom == height;
            },
            3000);
    }

    static void PumpFor(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }

    // The window as the screen shows it once its painting has settled: two captures in a row that agree
    // (the animation may shift a colour by a few steps, within the comparison's tolerance).
    static WindowSnapshot CaptureSettled(HWND window) {
        WindowSnapshot last;
        WindowSnapshot shot;
        PumpUntil(
            [&] {
                RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                GdiFlush();
                shot = CaptureWindow(window);
                const bool settled = !last.bgra.empty() && SnapshotDifference(last, shot, 40) == 0.0;
                last = shot;
                return settled;
            },
            3000);
        return shot;
    }

    // A rectangle of the window in its parent's client coordinates.
    static RECT RectInParent(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    ViewsParts m_parts;
    HWND m_main = nullptr;
    HWND m_control = nullptr;
    HWND m_state = nullptr;
};
