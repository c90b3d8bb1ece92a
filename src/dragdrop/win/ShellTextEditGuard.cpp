// Whether a drag that starts at a point selects text in an edit control of the shell (a file being renamed,
// the address bar) rather than dragging files.
#include <string>

#include "core/Log.h"
#include "core/win/TextConvert.h"
#include "dragdrop/ShellCandidates.h"
#include "dragdrop/win/ShellSelection.h"
#include "dragdrop/win/ShellWindowFacts.h"

namespace {

// The foreground window's root when it is a shell root, else the first shell root on the way up.
HWND ShellRootOf(HWND foreground) {
    const HWND root = RootOf(foreground);
    if (IsShellRootClass(WindowClassOf(root)))
        return root;
    return FirstSelfOrParentOfClass(foreground, &IsShellRootClass);
}

bool HasArea(const RECT& rect) {
    return rect.right > rect.left && rect.bottom > rect.top;
}

} // namespace

namespace ShellSelection {

bool IsTextEditAtPoint(POINT point, HWND expectedShellRoot) {
    const HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr)
        return false;
    const HWND shellRoot = ShellRootOf(foreground);
    if (shellRoot == nullptr)
        return false;
    if (expectedShellRoot != nullptr && shellRoot != expectedShellRoot &&
        RootOf(shellRoot) != expectedShellRoot)
        return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(foreground, nullptr), &info))
        return false;

    if (info.hwndFocus != nullptr) {
        const std::u16string focusClass = WindowClassOf(info.hwndFocus);
        if (IsTextEditorClass(focusClass)) {
            const std::wstring name = AsWide(focusClass);
            RECT rect{};
            const bool hasRect = ::GetWindowRect(info.hwndFocus, &rect) && HasArea(rect);
            if (hasRect && ::PtInRect(&rect, point)) {
                Log::Write("[RDRAG][SEL][TEXT_EDIT_GUARD] pt=%d,%d reason=focus-point hwnd=0x%p class=%S "
                           "shellRoot=0x%p rc=%ld,%ld,%ld,%ld",
                           static_cast<int>(point.x), static_cast<int>(point.y),
                           static_cast<void*>(info.hwndFocus), name.c_str(), static_cast<void*>(shellRoot),
                           rect.left, rect.top, rect.right, rect.bottom);
                return true;
            }
            Log::Write("[RDRAG][SEL][TEXT_EDIT_PASS] pt=%d,%d reason=focus-outside hwnd=0x%p class=%S "
                       "shellRoot=0x%p hasRc=%d rc=%ld,%ld,%ld,%ld",
                       static_cast<int>(point.x), static_cast<int>(point.y),
                       static_cast<void*>(info.hwndFocus), name.c_str(), static_cast<void*>(shellRoot),
                       hasRect ? 1 : 0, rect.left, rect.top, rect.right, rect.bottom);
        }
    }

    if (info.hwndCaret == nullptr || !HasArea(info.rcCaret))
        return false;
    RECT screen = info.rcCaret;
    ::MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    RECT caretWindow{};
    const bool inside = ::GetWindowRect(info.hwndCaret, &caretWindow) && ::PtInRect(&caretWindow, point) &&
                        ::PtInRect(&screen, point);
    const std::wstring name = AsWide(WindowClassOf(info.hwndCaret));
    Log::Write("[RDRAG][SEL][%s] pt=%d,%d reason=%s hwnd=0x%p class=%S shellRoot=0x%p caret=%ld,%ld,%ld,%ld "
               "screen=%ld,%ld,%ld,%ld",
               inside ? "TEXT_EDIT_GUARD" : "TEXT_EDIT_PASS", static_cast<int>(point.x),
               static_cast<int>(point.y), inside ? "caret-point" : "caret-outside",
               static_cast<void*>(info.hwndCaret), name.c_str(), static_cast<void*>(shellRoot),
               info.rcCaret.left, info.rcCaret.top, info.rcCaret.right, info.rcCaret.bottom, screen.left,
               screen.top, screen.right, screen.bottom);
    return inside;
}

} // namespace ShellSelection
