#include "ui/win/BlackCover.h"

#include <windowsx.h>

#include <atomic>

#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "input/RemoteInputRoute.h"
#include "media/ControllerSessionLive.h"
#include "media/RemoteViewCover.h"
#include "ui/win/RemoteViewState.h"
#include "ui/win/RemoteViewWindow.h"

// Threads: the window and everything below that touches it belong to the UI thread (the thread of
// RemoteView or the main window). The cover object, which any thread may call, only stores the wish in
// atomics and posts WM_APP_BLACK_COVER_APPLY; a window made by a worker thread would die with that thread
// and its messages would never be pumped.
namespace {

std::atomic<HWND> g_cover{nullptr};
std::atomic<bool> g_visible{false};      // the cover-visible flag: the last wish
std::atomic<bool> g_paintPending{false}; // PaintBlack asked for and not carried out yet

HWND RemoteViewWindow() {
    return reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
}

HWND CoverParent() {
    HWND view = RemoteViewWindow();
    return view != nullptr ? view : reinterpret_cast<HWND>(RuntimeGetMainWindow());
}

bool OwnedByThisThread(HWND hwnd) {
    return ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId();
}

// Runs the wish on the UI thread: at once when the caller is that thread, else by a posted message.
void Deliver() {
    HWND target = g_cover.load();
    if (target == nullptr || !::IsWindow(target))
        target = CoverParent();
    if (target == nullptr)
        return; // nothing to cover yet; RemoteView's layout applies the flag once it exists
    if (OwnedByThisThread(target))
        BlackCoverApplyWish();
    else
        ::PostMessageW(target, WM_APP_BLACK_COVER_APPLY, 0, 0);
}

class BlackCoverObject final : public IRemoteViewCover {
public:
    void Show(bool show) override {
        g_visible.store(show);
        Deliver();
    }
    void PaintBlack() override {
        g_visible.store(true);
        g_paintPending.store(true);
        Deliver();
    }
    bool IsShown() const override { return g_visible.load(); }
};

void FillBlack(HWND hwnd, HDC dc) {
    RECT rc{};
    ::GetClientRect(hwnd, &rc);
    ::FillRect(dc, &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void PlaceOver(HWND cover, HWND parent) {
    RECT rc{};
    ::GetClientRect(parent, &rc);
    ::SetWindowPos(cover, HWND_TOP, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::InvalidateRect(cover, nullptr, TRUE);
    ::UpdateWindow(cover);
}

// The RemoteView that the cover lies over; null when it covers the main window.
HWND ViewUnder(HWND cover) {
    HWND parent = ::GetParent(cover);
    return parent != nullptr && parent == RemoteViewWindow() ? parent : nullptr;
}

POINT CoverPointInView(HWND cover, HWND view, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::MapWindowPoints(cover, view, &pt, 1);
    return pt;
}

bool HandleCoverMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND view = ViewUnder(hwnd);
    if (view == nullptr)
        return false;
    IRemoteInputRoute& route = RemoteInputRoute();
    switch (msg) {
    case WM_MOUSEMOVE:
        RemoteViewMouseEnterThrough(view, hwnd, "RemoteBlackCoverMouseEnter");
        RemoteViewSendMouseMove(view, CoverPointInView(hwnd, view, lParam));
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
        LogRemoteViewMouseButton("cover-down", view, msg, lParam);
        ::SetFocus(view);
        ::SetCapture(view);
        const POINT pt = CoverPointInView(hwnd, view, lParam);
        route.SendMouseButton(RouteWindow(view), msg, pt.x, pt.y);
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        LogRemoteViewMouseButton("cover-up", view, msg, lParam);
        const POINT pt = CoverPointInView(hwnd, view, lParam);
        route.SendMouseButton(RouteWindow(view), msg, pt.x, pt.y);
        ::ReleaseCapture();
        return true;
    }
    case WM_MOUSEWHEEL: {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(view, &pt);
        route.SendMouseWheel(RouteWindow(view), GET_WHEEL_DELTA_WPARAM(wParam), pt.x, pt.y);
        return true;
    }
    case WM_MOUSELEAVE:
        if (RemoteViewIsLeaveTrackedOn(hwnd))
            RemoteViewMouseLeave(view, "RemoteBlackCoverMouseLeave");
        return true;
    default:
        return false;
    }
}

} // namespace

uint32_t RegisterBlackCoverClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = BlackCoverWndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kBlackCoverClass;
    return ::RegisterClassW(&wc) != 0 ? 0 : ::GetLastError();
}

void InstallBlackCover() {
    static BlackCoverObject cover; // lives to the end of the process
    SetRemoteViewCover(&cover);
}

HWND CreateBlackCover(HWND parent) {
    if (parent == nullptr)
        return nullptr;
    HWND existing = g_cover.load();
    if (existing != nullptr && ::IsWindow(existing))
        return existing;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW known{};
    if (!::GetClassInfoW(instance, kBlackCoverClass, &known))
        RegisterBlackCoverClass(instance);
    RECT rc{};
    ::GetClientRect(parent, &rc);
    HWND cover =
        ::CreateWindowExW(0, kBlackCoverClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                          0, 0, rc.right - rc.left, rc.bottom - rc.top, parent, nullptr, instance, nullptr);
    g_cover.store(cover);
    return cover;
}

void ShowBlackCover(bool show) {
    g_visible.store(show);
    HWND cover = g_cover.load();
    if (cover != nullptr && !::IsWindow(cover))
        cover = nullptr;
    if (!show) {
        if (cover != nullptr)
            ::ShowWindow(cover, SW_HIDE);
        return;
    }
    HWND parent = CoverParent();
    if (cover == nullptr)
        cover = CreateBlackCover(parent);
    if (cover != nullptr && parent != nullptr)
        PlaceOver(cover, ::GetParent(cover));
}

void PaintRemoteViewBlack() {
    ShowBlackCover(true);
    HWND parent = CoverParent();
    if (parent == nullptr)
        return;
    {
        UniqueWindowDC dc(parent, ::GetDC(parent));
        if (dc.Get() != nullptr)
            FillBlack(parent, dc.Get());
    }
    if (!IsControllerSessionLive())
        ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void BlackCoverApplyWish() {
    if (g_paintPending.exchange(false))
        PaintRemoteViewBlack();
    else
        ShowBlackCover(g_visible.load());
}

HWND BlackCoverWindow() {
    return g_cover.load();
}

bool IsBlackCoverVisibleFlag() {
    return g_visible.load();
}

void FitBlackCoverToRemoteView(HWND remoteView) {
    if (remoteView == nullptr)
        return;
    HWND cover = g_cover.load();
    if (cover == nullptr || !::IsWindow(cover))
        cover = CreateBlackCover(remoteView);
    if (cover == nullptr)
        return;
    if (::GetParent(cover) != remoteView)
        ::SetParent(cover, remoteView); // made over the main window before RemoteView existed
    if (g_visible.load())
        PlaceOver(cover, remoteView);
    else
        ::ShowWindow(cover, SW_HIDE);
}

void DestroyBlackCover() {
    HWND cover = g_cover.load();
    if (cover != nullptr && OwnedByThisThread(cover) && g_cover.compare_exchange_strong(cover, nullptr))
        ::DestroyWindow(cover);
}

LRESULT CALLBACK BlackCoverWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        FillBlack(hwnd, dc);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        FillBlack(hwnd, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            if (IsCursorInMainResizeBorder(hwnd))
                return 0;
            if (IsDragTransferActive() && SetRemoteViewCursor(hwnd))
                return TRUE;
        }
        break;
    case WM_MOUSEACTIVATE:
        if (HWND view = ViewUnder(hwnd)) {
            ::SetFocus(view);
            RemoteViewSetKeyboardActive(true);
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        LogRemoteViewKey(msg, wParam, lParam);
        return 0;
    case WM_APP_BLACK_COVER_APPLY:
        BlackCoverApplyWish();
        return 0;
    case WM_DESTROY: {
        HWND self = hwnd;
        g_cover.compare_exchange_strong(self, nullptr);
        return 0;
    }
    default:
        if (HandleCoverMouse(hwnd, msg, wParam, lParam))
            return 0;
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
