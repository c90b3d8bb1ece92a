#include "ui/win/UiPaint.h"

#include "core/Utf.h"
#include "core/win/TextConvert.h"

UniqueGdiObject CreateUiFont(double points, int weight) {
    int dpi = 96;
    {
        UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
        if (screen.Get() != nullptr)
            dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    const int height = -static_cast<int>(points * dpi / 72.0);
    return UniqueGdiObject(::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                         DEFAULT_PITCH | FF_SWISS, L"Segoe UI"));
}

BufferedPaint::BufferedPaint(HWND window) : m_window(window) {
    m_target = ::BeginPaint(window, &m_paint);
    ::GetClientRect(window, &m_client);
    if (m_target == nullptr || m_client.right <= 0 || m_client.bottom <= 0)
        return;
    m_memory.Reset(::CreateCompatibleDC(m_target));
    m_bitmap.Reset(::CreateCompatibleBitmap(m_target, m_client.right, m_client.bottom));
    if (m_memory.Get() == nullptr || m_bitmap.Get() == nullptr)
        return;
    m_bitmapSelection = ScopedDCSelection(m_memory.Get(), ::SelectObject(m_memory.Get(), m_bitmap.Get()));
    ::SetBkMode(m_memory.Get(), TRANSPARENT);
    m_ok = true;
}

BufferedPaint::~BufferedPaint() {
    if (m_ok)
        ::BitBlt(m_target, 0, 0, m_client.right, m_client.bottom, m_memory.Get(), 0, 0, SRCCOPY);
    m_bitmapSelection.Reset(); // the bitmap leaves the DC before either is deleted
    if (m_target != nullptr)
        ::EndPaint(m_window, &m_paint);
}

void DrawViewBackground(HDC dc, const RECT& client, int corner, UiColour border) {
    const UiColour background{18, 22, 29};
    ::SetDCBrushColor(dc, ToColorRef(background));
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    DrawRoundedBox(dc, client, corner, &background, border);
}

void PlaceRoundedView(HWND window, int x, int y, int width, int height, int corner, bool raise) {
    ::MoveWindow(window, x, y, width, height, TRUE);
    HRGN region = ::CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
    // The window owns the region once it is set.
    if (region != nullptr && !::SetWindowRgn(window, region, TRUE))
        ::DeleteObject(region);
    ::SetWindowPos(window, raise ? HWND_TOP : nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (raise ? 0 : SWP_NOZORDER));
}

void DrawRoundedBox(HDC dc, const RECT& r, int corner, const UiColour* fill, UiColour border) {
    HGDIOBJ brush = fill != nullptr ? ::GetStockObject(DC_BRUSH) : ::GetStockObject(NULL_BRUSH);
    ScopedDCSelection brushSelection(dc, ::SelectObject(dc, brush));
    ScopedDCSelection penSelection(dc, ::SelectObject(dc, ::GetStockObject(DC_PEN)));
    if (fill != nullptr)
        ::SetDCBrushColor(dc, ToColorRef(*fill));
    ::SetDCPenColor(dc, ToColorRef(border));
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
}

void DrawUiText(HDC dc, const std::string& utf8, RECT box, UiColour colour, UINT alignment) {
    std::wstring text = AsWide(Utf8ToUtf16(utf8));
    ::SetTextColor(dc, ToColorRef(colour));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                alignment | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
