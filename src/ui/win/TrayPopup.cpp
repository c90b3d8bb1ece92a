#include "ui/win/TrayPopup.h"

#include <memory>

#include "core/Log.h"
#include "core/ScopeExit.h"
#include "core/win/Handles.h"
#include "ui/TrayMenuPaint.h"
#include "ui/TrayPopupLayout.h"
#include "ui/win/TrayMenuGdi.h"
#include "ui/win/TrayRoundCorners.h"

namespace {

// Posted by a popup to itself to open the submenu of one of its entries; wParam is the entry's index, read
// back against the popup's own entries when it arrives.
constexpr UINT kWmOpenSubmenu = WM_APP + 0x31;
constexpr DWORD kLoopWaitMs = 50; // the loop also looks at the owner between messages

struct Session;

// One open level of the popup.
struct Level {
    Session* session = nullptr;
    size_t depth = 0;
    const std::vector<TrayMenuItem>* items = nullptr;
    TrayPopupLayout layout;
    uint32_t dpi = 96;
    int32_t hovered = -1;
    int32_t openSubmenu = -1;
    TrayRect screen;
    UniqueWindow window; // last member: destroyed first, while the rest is still valid
};

struct Session {
    HWND owner = nullptr;
    uint32_t selected = 0;
    bool done = false;
    TrayRect work;
    std::vector<std::unique_ptr<Level>> levels; // the root first

    void CloseBelow(size_t depth) {
        while (levels.size() > depth + 1)
            levels.pop_back(); // deepest first
        if (depth < levels.size())
            levels[depth]->openSubmenu = -1;
    }
    bool Contains(POINT p) const {
        for (const auto& level : levels)
            if (p.x >= level->screen.left && p.x < level->screen.right && p.y >= level->screen.top &&
                p.y < level->screen.bottom)
                return true;
        return false;
    }
    bool Owns(HWND window) const {
        for (const auto& level : levels)
            if (level->window.Get() == window)
                return true;
        return false;
    }
};

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterPopupClass() {
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DROPSHADOW;
    wc.lpfnWndProc = PopupProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kTrayPopupClass;
    registered = ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

// Opens a level for items, at the cursor (root) or beside its parent; false when its window cannot be made.
bool OpenLevel(Session& session, const std::vector<TrayMenuItem>& items, TrayPoint at, uint32_t dpi) {
    auto level = std::make_unique<Level>();
    level->session = &session;
    level->depth = session.levels.size();
    level->items = &items;
    level->dpi = dpi;
    HFONT font = TrayMenuFont(dpi);
    std::vector<int32_t> widths;
    for (const TrayMenuItem& item : items)
        widths.push_back(item.separator ? 0 : MeasureTrayText(font, item.text));
    level->layout = LayoutTrayPopup(items, widths, dpi);
    const int32_t w = level->layout.width, h = level->layout.height;
    const Level* parent = session.levels.empty() ? nullptr : session.levels.back().get();
    const TrayPoint origin = parent == nullptr
                                 ? PlaceTrayPopup(at, w, h, session.work)
                                 : PlaceTraySubmenu(parent->screen, at, w, h, session.work, dpi);
    level->screen = {origin.x, origin.y, origin.x + w, origin.y + h};
    HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kTrayPopupClass, L"",
                                    WS_POPUP, origin.x, origin.y, w, h, session.owner, nullptr,
                                    ::GetModuleHandleW(nullptr), level.get());
    if (window == nullptr)
        return false;
    level->window.Reset(window);
    RoundWindowCorners(window, w, h, TrayScale(24, dpi));
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    Log::Write("[TRAY][MENU][CUSTOM] popup hwnd=%p parent=%p items=%zu size=%dx%d pos=%ld,%ld",
               static_cast<void*>(window),
               static_cast<void*>(parent != nullptr ? parent->window.Get() : nullptr), items.size(), w, h,
               static_cast<long>(origin.x), static_cast<long>(origin.y));
    session.levels.push_back(std::move(level));
    return true;
}

TrayPoint ClientPoint(LPARAM lParam) {
    return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

void OnMouseMove(Level& level, TrayPoint p) {
    const int32_t index = HitTestTrayPopup(level.layout, *level.items, p);
    if (index == level.hovered)
        return;
    level.hovered = index;
    ::InvalidateRect(level.window.Get(), nullptr, FALSE);
    level.session->CloseBelow(level.depth);
    if (index < 0)
        return;
    const TrayMenuItem& item = (*level.items)[static_cast<size_t>(index)];
    if (item.enabled && item.HasSubmenu())
        ::PostMessageW(level.window.Get(), kWmOpenSubmenu, static_cast<WPARAM>(index), 0);
}

void OnOpenSubmenu(Level& level, WPARAM wParam) {
    const size_t index = static_cast<size_t>(wParam);
    // The pointer may have moved on since the post: open only what is still hovered and not yet open.
    if (index >= level.items->size() || static_cast<int32_t>(index) != level.hovered ||
        level.openSubmenu == level.hovered)
        return;
    const TrayMenuItem& item = (*level.items)[index];
    if (!item.enabled || !item.HasSubmenu())
        return;
    Session& session = *level.session;
    session.CloseBelow(level.depth);
    const TrayPoint anchor =
        TraySubmenuAnchor(level.screen, level.layout, static_cast<int32_t>(index), level.dpi);
    if (OpenLevel(session, item.children, anchor, level.dpi))
        level.openSubmenu = static_cast<int32_t>(index);
}

void OnButtonUp(Level& level, TrayPoint p) {
    const int32_t index = HitTestTrayPopup(level.layout, *level.items, p);
    if (index < 0)
        return;
    const TrayMenuItem& item = (*level.items)[static_cast<size_t>(index)];
    if (!item.enabled || item.HasSubmenu())
        return;
    Session& session = *level.session;
    session.selected = item.commandId;
    session.done = true;
    ::PostMessageW(session.owner, WM_NULL, 0, 0);
}

void OnPaint(Level& level) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(level.window.Get(), &ps);
    if (dc != nullptr)
        PaintTrayCommands(dc, BuildTrayPopupPaint(*level.items, level.layout, level.hovered, level.dpi),
                          TrayMenuFont(level.dpi));
    ::EndPaint(level.window.Get(), &ps);
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* level = reinterpret_cast<Level*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    // The level's own handle is set only after CreateWindowExW returns.
    if (level == nullptr || level->window.Get() != window) {
        if (message == WM_NCHITTEST)
            return HTCLIENT;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(*level, ClientPoint(lParam));
        return 0;
    case kWmOpenSubmenu:
        OnOpenSubmenu(*level, wParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        OnButtonUp(*level, ClientPoint(lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            level->session->done = true;
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_PAINT:
        OnPaint(*level);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool IsButtonDown(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

// The menu that is up on this thread (one at a time), for the mouse hook below.
Session* g_activeSession = nullptr;

// Presses in other programs' windows never reach this thread's queue, so a low-level mouse hook watches
// every press while the menu is up: one outside all levels ends the menu. It only marks, never blocks, and
// passes the press on.
LRESULT CALLBACK OutsidePressHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_activeSession != nullptr && IsButtonDown(static_cast<UINT>(wParam))) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (!g_activeSession->Contains(info->pt)) {
            g_activeSession->done = true;
            ::PostMessageW(g_activeSession->owner, WM_NULL, 0, 0); // wakes the loop
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Messages for the popups go to them; a press outside them or Escape ends the menu.
void RunLoop(Session& session) {
    ::SetForegroundWindow(session.owner);
    g_activeSession = &session;
    ScopeExit inactive([] { g_activeSession = nullptr; });
    UniqueHook outsidePresses(
        ::SetWindowsHookExW(WH_MOUSE_LL, OutsidePressHook, ::GetModuleHandleW(nullptr), 0));
    while (!session.done) {
        if (!::IsWindow(session.owner))
            return;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, kLoopWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (!session.done && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop that runs the program
                return;
            }
            if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) {
                session.done = true;
                break;
            }
            if (IsButtonDown(msg.message) && !session.Owns(msg.hwnd)) {
                session.done = true;
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

std::optional<uint32_t> RunTrayPopup(HWND owner, const std::vector<TrayMenuItem>& items, POINT at,
                                     uint32_t dpi) {
    if (!RegisterPopupClass())
        return std::nullopt;
    Session session;
    session.owner = owner;
    session.work = TrayWorkAreaAt(at);
    // Watching from before the first level shows, so that no press can fall between showing and watching.
    g_activeSession = &session;
    ScopeExit inactive([] { g_activeSession = nullptr; });
    UniqueHook outsidePresses(
        ::SetWindowsHookExW(WH_MOUSE_LL, OutsidePressHook, ::GetModuleHandleW(nullptr), 0));
    if (!OpenLevel(session, items, {at.x, at.y}, dpi))
        return std::nullopt;
    RunLoop(session);
    session.CloseBelow(0); // deepest first, the root last
    session.levels.clear();
    return session.selected;
}
