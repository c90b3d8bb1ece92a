#include "core/win/RuntimeNotifierWin.h"

#include <windows.h>

namespace {

class Win32Poster final : public IRuntimeWindowPoster {
public:
    bool Post(RuntimeWindow window, uint32_t message, uintptr_t wParam, uint32_t& error) override {
        if (PostMessageW(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), 0)) {
            error = 0;
            return true;
        }
        error = GetLastError();
        return false;
    }

    void Invalidate(RuntimeWindow window) override {
        InvalidateRect(reinterpret_cast<HWND>(window), nullptr, TRUE);
    }
};

} // namespace

IRuntimeWindowPoster& Win32RuntimeWindowPoster() {
    static Win32Poster* poster = new Win32Poster();
    return *poster;
}
