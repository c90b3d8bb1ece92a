#include <cstring>

#include "core/win/Handles.h"
#include "media/ControllerSessionLive.h"
#include "ui/DragCursorPixels.h"
#include "ui/ResizeBorder.h"
#include "ui/win/RemoteViewWindow.h"
#include "ui/win/WindowDpi.h"

namespace {

int MetricForDpi(int index, UINT dpi) {
    using GetMetricForDpiFn = int(WINAPI*)(int, UINT);
    static const auto getMetric = reinterpret_cast<GetMetricForDpiFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return getMetric != nullptr ? getMetric(index, dpi) : ::GetSystemMetrics(index);
}

} // namespace

bool IsCursorInMainResizeBorder(HWND hwnd) {
    HWND main = hwnd != nullptr ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
    RECT rc{};
    POINT cursor{};
    if (main == nullptr || !::GetWindowRect(main, &rc) || !::GetCursorPos(&cursor))
        return false;
    const UINT dpi = GetWindowDpi(main);
    const int padded = MetricForDpi(SM_CXPADDEDBORDER, dpi);
    const int bandX = ResizeBandWidth(padded, MetricForDpi(SM_CXFRAME, dpi));
    const int bandY = ResizeBandWidth(padded, MetricForDpi(SM_CYFRAME, dpi));
    return IsPointInResizeBand({rc.left, rc.top, rc.right, rc.bottom}, cursor.x, cursor.y, bandX, bandY);
}

HCURSOR BuildRemoteCursorIcon() {
    const auto pixels = DragCursorPixels();
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = kDragCursorSize;
    header.bV5Height = -kDragCursorSize; // top-down
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    UniqueGdiObject color(::CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueGdiObject mask(::CreateBitmap(kDragCursorSize, kDragCursorSize, 1, 1, nullptr));
    if (color.Get() == nullptr || bits == nullptr || mask.Get() == nullptr)
        return nullptr;
    memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    ICONINFO info{};
    info.fIcon = FALSE;
    info.xHotspot = kDragCursorHotspot;
    info.yHotspot = kDragCursorHotspot;
    info.hbmMask = static_cast<HBITMAP>(mask.Get());
    info.hbmColor = static_cast<HBITMAP>(color.Get());
    return reinterpret_cast<HCURSOR>(::CreateIconIndirect(&info)); // copies both bitmaps
}

bool SetRemoteViewCursor(HWND hwnd) {
    if (IsCursorInMainResizeBorder(hwnd))
        return false;
    if (IsDragTransferActive()) {
        // Made once and kept to the end of the process.
        static const UniqueIcon drag(BuildRemoteCursorIcon());
        if (drag.Get() != nullptr) {
            ::SetCursor(drag.Get());
            return true;
        }
    }
    static const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    return true;
}
