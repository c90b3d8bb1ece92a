#include "ui/win/TrayMenuGdi.h"

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

namespace {

COLORREF ToColorRef(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The three fills of the menu, created once; any other colour gets a brush of its own for the one step.
HBRUSH CachedBrush(uint32_t rgb) {
    static UniqueGdiObject background(::CreateSolidBrush(ToColorRef(kTrayBackground)));
    static UniqueGdiObject hover(::CreateSolidBrush(ToColorRef(kTrayHover)));
    static UniqueGdiObject separator(::CreateSolidBrush(ToColorRef(kTraySeparator)));
    switch (rgb) {
    case kTrayBackground:
        return static_cast<HBRUSH>(background.Get());
    case kTrayHover:
        return static_cast<HBRUSH>(hover.Get());
    case kTraySeparator:
        return static_cast<HBRUSH>(separator.Get());
    default:
        return nullptr;
    }
}

void FillRoundRect(HDC dc, const TrayDrawCommand& c) {
    UniqueGdiObject ownBrush;
    HBRUSH brush = CachedBrush(c.fill);
    if (brush == nullptr) {
        ownBrush.Reset(::CreateSolidBrush(ToColorRef(c.fill)));
        brush = static_cast<HBRUSH>(ownBrush.Get());
    }
    RECT r = {c.rect.left, c.rect.top, c.rect.right, c.rect.bottom};
    if (c.penWidth == 0 && c.ellipse == 0) {
        ::FillRect(dc, &r, brush);
        return;
    }
    UniqueGdiObject pen(c.penWidth > 0 ? ::CreatePen(PS_SOLID, c.penWidth, ToColorRef(c.colour)) : nullptr);
    ScopedDCSelection selectPen(
        dc, ::SelectObject(dc, pen.Get() != nullptr ? pen.Get() : ::GetStockObject(NULL_PEN)));
    ScopedDCSelection selectBrush(dc, ::SelectObject(dc, brush));
    // A null pen leaves the right and bottom edge out: draw one pixel further so the fill reaches it.
    const int extra = c.penWidth > 0 ? 0 : 1;
    ::RoundRect(dc, r.left, r.top, r.right + extra, r.bottom + extra, c.ellipse, c.ellipse);
}

void DrawPolyline(HDC dc, const TrayDrawCommand& c, int count) {
    UniqueGdiObject pen(::CreatePen(PS_SOLID, c.penWidth, ToColorRef(c.colour)));
    ScopedDCSelection select(dc, ::SelectObject(dc, pen.Get()));
    POINT points[3];
    for (int i = 0; i < count; ++i)
        points[i] = {c.points[i].x, c.points[i].y};
    ::Polyline(dc, points, count);
}

void DrawTriangle(HDC dc, const TrayDrawCommand& c) {
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, ToColorRef(c.colour)));
    UniqueGdiObject brush(::CreateSolidBrush(ToColorRef(c.colour)));
    ScopedDCSelection selectPen(dc, ::SelectObject(dc, pen.Get()));
    ScopedDCSelection selectBrush(dc, ::SelectObject(dc, brush.Get()));
    POINT points[3];
    for (int i = 0; i < 3; ++i)
        points[i] = {c.points[i].x, c.points[i].y};
    ::Polygon(dc, points, 3);
}

void DrawEntryText(HDC dc, const TrayDrawCommand& c, HFONT font) {
    ScopedDCSelection select(dc, ::SelectObject(dc, font));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(c.colour));
    RECT r = {c.rect.left, c.rect.top, c.rect.right, c.rect.bottom};
    const std::wstring text = AsWide(c.text);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

} // namespace

HFONT TrayMenuFont(uint32_t dpi) {
    static UniqueGdiObject font;
    static uint32_t fontDpi = 0;
    if (font.Get() == nullptr || fontDpi != dpi) {
        font.Reset(::CreateFontW(TrayMenuFontHeight(dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                 DEFAULT_PITCH, L"Segoe UI"));
        fontDpi = dpi;
    }
    return static_cast<HFONT>(font.Get());
}

int32_t MeasureTrayText(HFONT font, const std::u16string& text) {
    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    if (screen.Get() == nullptr)
        return 0;
    ScopedDCSelection select(screen.Get(), ::SelectObject(screen.Get(), font));
    const std::wstring wide = AsWide(text);
    SIZE size = {};
    if (!::GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size))
        return 0;
    return size.cx;
}

void PaintTrayCommands(HDC dc, const std::vector<TrayDrawCommand>& commands, HFONT font) {
    for (const TrayDrawCommand& c : commands) {
        switch (c.kind) {
        case TrayDrawKind::RoundRect:
            FillRoundRect(dc, c);
            break;
        case TrayDrawKind::Line:
            DrawPolyline(dc, c, 2);
            break;
        case TrayDrawKind::CheckMark:
            DrawPolyline(dc, c, 3);
            break;
        case TrayDrawKind::Text:
            DrawEntryText(dc, c, font);
            break;
        case TrayDrawKind::Triangle:
            DrawTriangle(dc, c);
            break;
        }
    }
}

uint32_t TrayWindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr && window != nullptr) {
        const UINT dpi = getDpi(window);
        if (dpi != 0)
            return dpi;
    }
    UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    const int logical = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return logical > 0 ? static_cast<uint32_t>(logical) : 96;
}

TrayRect TrayWorkAreaAt(POINT point) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info))
        return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    RECT work = {};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return {work.left, work.top, work.right, work.bottom};
}
