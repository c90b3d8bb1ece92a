#pragma once

#include <windows.h>

#include <string>

// A visible topmost popup of a chosen window class (say the desktop's "Progman") at a known place, created
// on the calling thread, so that shell look-ups that go by the class of the window under a point can be
// tried without the real shell. The class is registered for the window's lifetime.
class ClassedTestWindow {
public:
    ClassedTestWindow(const wchar_t* className, RECT rect) : m_className(className) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        m_registered = ::RegisterClassW(&windowClass) != 0;
        m_window = ::CreateWindowExW(WS_EX_TOPMOST, className, L"", WS_POPUP | WS_VISIBLE, rect.left,
                                     rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                     nullptr, ::GetModuleHandleW(nullptr), nullptr);
        Pump();
    }
    ~ClassedTestWindow() {
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
        if (m_registered)
            ::UnregisterClassW(m_className.c_str(), ::GetModuleHandleW(nullptr));
    }
    ClassedTestWindow(const ClassedTestWindow&) = delete;
    ClassedTestWindow& operator=(const ClassedTestWindow&) = delete;

    HWND Handle() const { return m_window; }

    // Handles what is queued for this thread's windows (creation, activation, painting).
    static void Pump() {
        MSG message;
        for (int i = 0; i < 1000 && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

private:
    std::wstring m_className;
    bool m_registered = false;
    HWND m_window = nullptr;
};
