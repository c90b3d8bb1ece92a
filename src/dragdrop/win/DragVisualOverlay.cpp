#include <atomic>
#include <mutex>

#include "core/Log.h"
#include "core/WorkerThread.h"
#include "core/win/Handles.h"
#include "dragdrop/DragOverlayDrawing.h"
#include "dragdrop/win/DragDrop.h"

// Threads: the overlay thread owns the window; other threads only set the flag and post WM_TIMER. Start
// may come from any thread that first shows a drag, stop from the shutdown: g_threadMutex serialises them.
namespace {

std::atomic<bool> g_active{false};
std::atomic<bool> g_started{false};
std::atomic<bool> g_running{false};
std::atomic<bool> g_shown{false};
std::atomic<HWND> g_window{nullptr};
std::atomic<DWORD> g_threadId{0};
std::mutex g_threadMutex;
WorkerThread g_thread; // under g_threadMutex

COLORREF ToColorRef(OverlayColor c) {
    return RGB(c.r, c.g, c.b);
}

void FollowCursor(HWND hwnd) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SetWindowPos(hwnd, HWND_TOPMOST, cursor.x + DragVisualOverlay::kCursorOffset,
                   cursor.y + DragVisualOverlay::kCursorOffset, DragVisualOverlay::kWidth,
                   DragVisualOverlay::kHeight, SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void OnTimer(HWND hwnd) {
    if (!g_active.load()) {
        // The flag goes first: whoever sees the window hidden also sees it no longer counted as shown.
        g_shown.store(false);
        ::ShowWindow(hwnd, SW_HIDE);
        return;
    }
    FollowCursor(hwnd);
    // Only this thread shows and hides; the flag follows the window, so whoever sees it counted as shown also
    // sees the window visible.
    if (!g_shown.load()) {
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::InvalidateRect(hwnd, nullptr, FALSE);
        g_shown.store(true);
    }
}

void RunOverlayThread() {
    g_threadId.store(::GetCurrentThreadId());
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DragVisualOverlay::WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = DragVisualOverlay::kClass;
    ::RegisterClassW(&wc); // registered already by an earlier run: fine
    HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED |
                                      WS_EX_NOACTIVATE,
                                  DragVisualOverlay::kClass, L"", WS_POPUP, 0, 0, DragVisualOverlay::kWidth,
                                  DragVisualOverlay::kHeight, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        Log::Write("[DRAGVIS][ERR] CreateWindowEx failed gle=%lu", ::GetLastError());
    } else {
        g_window.store(hwnd);
        Log::Write("[DRAGVIS][THREAD] started hwnd=0x%p", static_cast<void*>(hwnd));
        // A stop that came before the window was known posted nothing that this loop would see.
        if (g_running.load()) {
            MSG msg;
            while (g_running.load() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (HWND left = g_window.exchange(nullptr))
            ::DestroyWindow(left);
    }
    g_threadId.store(0);
    g_shown.store(false);
    g_running.store(false);
    g_started.store(false);
    Log::Write("[DRAGVIS][THREAD] stopped");
}

} // namespace

namespace DragVisualOverlay {

void StartOnce() {
    bool expected = false;
    if (!g_started.compare_exchange_strong(expected, true))
        return;
    std::lock_guard<std::mutex> lock(g_threadMutex);
    // The thread of an earlier run has ended (it clears started last); collect it before starting anew.
    g_thread.Stop(WorkerThread::kWaitForever, "DragVisualOverlay");
    g_running.store(true);
    if (!g_thread.Start("DragVisualOverlay", [](const StopSignal&) { RunOverlayThread(); })) {
        g_running.store(false);
        g_started.store(false);
        Log::Write("[DRAGVIS][ERR] thread create failed");
    }
}

void Stop(DWORD timeoutMs) {
    g_active.store(false);
    if (g_running.exchange(false)) {
        if (HWND hwnd = g_window.load())
            ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        else if (DWORD id = g_threadId.load())
            ::PostThreadMessageW(id, WM_QUIT, 0, 0);
    }
    {
        std::lock_guard<std::mutex> lock(g_threadMutex);
        g_thread.Stop(timeoutMs, "DragVisualOverlay");
    }
    Log::Write("[DRAGVIS][SHUTDOWN]");
}

void SetActive(bool active) {
    g_active.store(active);
}

bool ExchangeActive(bool active) {
    return g_active.exchange(active);
}

bool IsActive() {
    return g_active.load();
}

bool IsRunning() {
    return g_running.load();
}

bool IsShown() {
    return g_shown.load();
}

HWND Window() {
    return g_window.load();
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        ::SetLayeredWindowAttributes(hwnd, ToColorRef(kOverlayColorKey), 255, LWA_COLORKEY);
        ::SetTimer(hwnd, kTimerId, kTimerMs, nullptr);
        FollowCursor(hwnd);
        return 0;
    case WM_TIMER:
        if (wParam != kTimerId)
            break;
        OnTimer(hwnd);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        Draw(dc, client);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, kTimerId);
        g_window.compare_exchange_strong(hwnd, nullptr);
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Draw(HDC dc, const RECT& rect) {
    const auto primitives = DragOverlayPrimitives(rect.right - rect.left, rect.bottom - rect.top);
    const int dx = rect.left, dy = rect.top;
    for (const OverlayPrimitive& p : primitives) {
        switch (p.kind) {
        case OverlayPrimitive::Kind::FillRect: {
            UniqueGdiObject brush(::CreateSolidBrush(ToColorRef(p.fill)));
            RECT r{p.left + dx, p.top + dy, p.right + dx, p.bottom + dy};
            ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
            break;
        }
        case OverlayPrimitive::Kind::Outline:
        case OverlayPrimitive::Kind::Ellipse: {
            UniqueGdiObject pen(::CreatePen(PS_SOLID, p.penWidth, ToColorRef(p.pen)));
            const bool filled = p.kind == OverlayPrimitive::Kind::Ellipse;
            UniqueGdiObject brush(filled ? ::CreateSolidBrush(ToColorRef(p.fill)) : nullptr);
            ScopedDCSelection penSel(dc, ::SelectObject(dc, pen.Get()));
            ScopedDCSelection brushSel(
                dc, ::SelectObject(dc, filled ? brush.Get() : ::GetStockObject(NULL_BRUSH)));
            if (filled)
                ::Ellipse(dc, p.left + dx, p.top + dy, p.right + dx, p.bottom + dy);
            else
                ::Rectangle(dc, p.left + dx, p.top + dy, p.right + dx, p.bottom + dy);
            break;
        }
        case OverlayPrimitive::Kind::Polyline: {
            UniqueGdiObject pen(::CreatePen(PS_SOLID, p.penWidth, ToColorRef(p.pen)));
            ScopedDCSelection penSel(dc, ::SelectObject(dc, pen.Get()));
            for (size_t i = 0; i < p.points.size(); ++i) {
                const int x = p.points[i].first + dx, y = p.points[i].second + dy;
                if (i == 0)
                    ::MoveToEx(dc, x, y, nullptr);
                else
                    ::LineTo(dc, x, y);
            }
            break;
        }
        }
    }
}

} // namespace DragVisualOverlay
