#include "ui/win/TrayNativeMenu.h"

#include <algorithm>

#include "core/Log.h"
#include "ui/TrayMenuPaint.h"
#include "ui/TrayPopupLayout.h"
#include "ui/win/TrayMenuGdi.h"
#include "ui/win/TrayRoundCorners.h"

namespace {

const std::vector<TrayMenuItem>* g_items = nullptr; // the menu that exists now
uint32_t g_dpi = 96;

bool Append(HMENU menu, const TrayMenuItem& item, HMENU submenu) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | (submenu != nullptr ? MIIM_SUBMENU : 0);
    info.fType = MFT_OWNERDRAW | (item.separator ? MFT_SEPARATOR : 0);
    info.fState = (item.checked ? MFS_CHECKED : 0) | (item.enabled ? 0 : MFS_DISABLED);
    info.wID = item.commandId;
    info.hSubMenu = submenu;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    return ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info) != FALSE;
}

bool Fill(HMENU menu, const std::vector<TrayMenuItem>& items) {
    for (const TrayMenuItem& item : items) {
        UniqueMenu submenu;
        if (item.HasSubmenu()) {
            submenu.Reset(::CreatePopupMenu());
            if (submenu.Get() == nullptr || !Fill(submenu.Get(), item.children))
                return false;
        }
        if (!Append(menu, item, submenu.Get()))
            return false;
        submenu.Release(); // the parent menu owns it now
    }
    return true;
}

const TrayMenuItem* Find(const std::vector<TrayMenuItem>& items, ULONG_PTR data) {
    for (const TrayMenuItem& item : items) {
        if (reinterpret_cast<ULONG_PTR>(&item) == data)
            return &item;
        if (const TrayMenuItem* child = Find(item.children, data))
            return child;
    }
    return nullptr;
}

// The item data of an owner-drawn entry is only trusted when it is one of the entries of the current menu.
const TrayMenuItem* CurrentItem(ULONG_PTR data) {
    return g_items != nullptr ? Find(*g_items, data) : nullptr;
}

UniqueHook& RoundingHook() {
    static UniqueHook hook;
    return hook;
}

void RoundMenuWindow(HWND window, const char* reason) {
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, 16) == 0 || std::wstring_view(className) != L"#32768")
        return;
    RECT r = {};
    if (!::GetWindowRect(window, &r))
        return;
    const int w = std::max<int>(9, r.right - r.left), h = std::max<int>(9, r.bottom - r.top);
    const int ellipse = 2 * TrayMulDiv(10, static_cast<int32_t>(TrayWindowDpi(window)), 96);
    RoundWindowCorners(window, w, h, ellipse);
    Log::Write("[TRAY][MENU][ROUND] hwnd=%p size=%dx%d radius=%d reason=%s", static_cast<void*>(window), w, h,
               ellipse / 2, reason);
}

LRESULT CALLBACK RoundingHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND)
        RoundMenuWindow(reinterpret_cast<HWND>(wParam), "create");
    else if (code == HCBT_ACTIVATE)
        RoundMenuWindow(reinterpret_cast<HWND>(wParam), "activate");
    else if (code == HCBT_SETFOCUS)
        RoundMenuWindow(reinterpret_cast<HWND>(wParam), "focus");
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

uint32_t Track(HWND owner, HMENU menu, POINT at) {
    ::SetLastError(0);
    return static_cast<uint32_t>(::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, at.x,
                                                  at.y, 0, owner, nullptr));
}

} // namespace

UniqueMenu BuildNativeTrayMenu(const std::vector<TrayMenuItem>& items) {
    UniqueMenu root(::CreatePopupMenu());
    if (root.Get() == nullptr) {
        Log::Write("[TRAY][MENU] CreatePopupMenu failed gle=%lu",
                   static_cast<unsigned long>(::GetLastError()));
        return root;
    }
    if (!Fill(root.Get(), items))
        root.Reset();
    return root;
}

uint32_t TrackNativeTrayMenu(HWND owner, HMENU menu, POINT at) {
    UniqueHook& hook = RoundingHook();
    hook.Reset(::SetWindowsHookExW(WH_CBT, RoundingHookProc, nullptr, ::GetCurrentThreadId()));
    Log::Write("[TRAY][MENU][ROUND] hook install %s gle=%lu", hook ? "ok" : "failed",
               static_cast<unsigned long>(hook ? 0 : ::GetLastError()));
    uint32_t command = Track(owner, menu, at);
    if (command == 0 && ::GetLastError() != 0) {
        Log::Write("[TRAY][MENU] native popup failed first try gle=%lu; retry",
                   static_cast<unsigned long>(::GetLastError()));
        ::SetForegroundWindow(owner);
        command = Track(owner, menu, at);
    }
    hook.Reset();
    Log::Write("[TRAY][MENU][ROUND] hook removed");
    return command;
}

void SetNativeTrayMenuItems(const std::vector<TrayMenuItem>* items, uint32_t dpi) {
    g_items = items;
    g_dpi = dpi;
}

bool HandleNativeTrayMenuItem(UINT message, LPARAM lParam) {
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        const TrayMenuItem* item = measure->CtlType == ODT_MENU ? CurrentItem(measure->itemData) : nullptr;
        if (item == nullptr)
            return false;
        const int32_t text = item->separator ? 0 : MeasureTrayText(TrayMenuFont(g_dpi), item->text);
        const TraySize size = MeasureNativeTrayItem(*item, text, g_dpi);
        measure->itemWidth = static_cast<UINT>(size.width);
        measure->itemHeight = static_cast<UINT>(size.height);
        return true;
    }
    if (message == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        const TrayMenuItem* item = draw->CtlType == ODT_MENU ? CurrentItem(draw->itemData) : nullptr;
        if (item == nullptr)
            return false;
        const RECT& r = draw->rcItem;
        PaintTrayCommands(draw->hDC,
                          BuildNativeTrayItemPaint(*item, {r.left, r.top, r.right, r.bottom},
                                                   (draw->itemState & ODS_SELECTED) != 0, g_dpi),
                          TrayMenuFont(g_dpi));
        return true;
    }
    return false;
}
