#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

// A borderless topmost window at a known place on the screen, created and pumped by a thread of its own as
// the program's UI thread would be, so a renderer on another thread may present into it (a Present can send
// messages to the window's thread).
class RenderTestWindow {
public:
    RenderTestWindow(int x, int y, int width, int height) : m_x(x), m_y(y), m_width(width), m_height(height) {
        m_thread = std::thread([this] { Run(); });
        const DWORD start = ::GetTickCount();
        while (m_window.load() == nullptr && !m_failed.load() && ::GetTickCount() - start < 5000)
            ::Sleep(5);
    }
    ~RenderTestWindow() {
        m_quit.store(true);
        if (m_thread.joinable())
            m_thread.join();
    }
    RenderTestWindow(const RenderTestWindow&) = delete;
    RenderTestWindow& operator=(const RenderTestWindow&) = delete;

    HWND Handle() const { return m_window.load(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The client area as the screen shows it: BGRA rows of width * 4 bytes (alpha not meaningful).
    std::vector<uint8_t> ReadScreen() const {
        std::vector<uint8_t> pixels(static_cast<size_t>(m_width) * m_height * 4);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap != nullptr && bits != nullptr) {
            HGDIOBJ old = ::SelectObject(memory, bitmap);
            ::BitBlt(memory, 0, 0, m_width, m_height, screen, m_x, m_y, SRCCOPY | CAPTUREBLT);
            ::GdiFlush();
            std::memcpy(pixels.data(), bits, pixels.size());
            ::SelectObject(memory, old);
            ::DeleteObject(bitmap);
        }
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return pixels;
    }

    // Polls the screen until match(pixels) holds or timeoutMs pass; returns the last picture read.
    std::vector<uint8_t> WaitForScreen(const std::function<bool(const std::vector<uint8_t>&)>& match,
                                       DWORD timeoutMs) const {
        const DWORD start = ::GetTickCount();
        for (;;) {
            std::vector<uint8_t> pixels = ReadScreen();
            if (match(pixels) || ::GetTickCount() - start >= timeoutMs)
                return pixels;
            ::Sleep(20);
        }
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND)
            return 1; // the renderer owns every pixel
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            ::BeginPaint(window, &paint);
            ::EndPaint(window, &paint);
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TslyRendererTestWindow";
        ::RegisterClassW(&wc);
        HWND window =
            ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                              m_x, m_y, m_width, m_height, nullptr, nullptr, wc.hInstance, nullptr);
        if (window == nullptr) {
            m_failed.store(true);
            return;
        }
        m_window.store(window);
        MSG message;
        while (!m_quit.load()) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        ::DestroyWindow(window);
    }

    int m_x, m_y, m_width, m_height;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

// Largest difference of the B, G, R bytes of two BGRA pictures of one size, over the pixels keep accepts.
inline int MaxColourDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                               const std::function<bool(int x, int y)>& keep) {
    int worst = 0;
    for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
        const int pixel = static_cast<int>(i / 4);
        if (!keep(pixel % width, pixel / width))
            continue;
        for (size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(static_cast<int>(a[i + c]) - static_cast<int>(b[i + c])));
    }
    return worst;
}
