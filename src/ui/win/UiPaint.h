#pragma once

#include <windows.h>

#include <string>

#include "core/win/Handles.h"
#include "ui/UiColour.h"

// Drawing helpers shared by ControlView and StateView, which paint with GDI into a memory bitmap.

inline COLORREF ToColorRef(UiColour c) {
    return RGB(c.r, c.g, c.b);
}

// "Segoe UI" at points (against the screen's logical pixels per inch), ClearType, swiss family.
UniqueGdiObject CreateUiFont(double points, int weight);

// Paints a window double-buffered: everything drawn on Dc() between construction and destruction reaches the
// window in one block. Ok() is false when the window gave no DC or the bitmap could not be made; nothing is
// drawn then.
class BufferedPaint {
public:
    explicit BufferedPaint(HWND window);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    bool Ok() const { return m_ok; }
    HDC Dc() const { return m_memory.Get(); }
    const RECT& Client() const { return m_client; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_target = nullptr;
    RECT m_client{};
    UniqueMemoryDC m_memory;
    UniqueGdiObject m_bitmap;
    ScopedDCSelection m_bitmapSelection;
    bool m_ok = false;
};

// The dark background both views share, filled over the client area with a rounded 1-px border.
void DrawViewBackground(HDC dc, const RECT& client, int corner, UiColour border);
// Moves a child view, rounds its corners (corner ellipse `corner`) and, when it is to be seen, raises it
// above its siblings; never activates it.
void PlaceRoundedView(HWND window, int x, int y, int width, int height, int corner, bool raise);
// A rounded rectangle with a 1-px border, filled unless fill is null.
void DrawRoundedBox(HDC dc, const RECT& r, int corner, const UiColour* fill, UiColour border);
// One line of UTF-8 text in the box, transparent, with an ellipsis where it does not fit.
void DrawUiText(HDC dc, const std::string& utf8, RECT box, UiColour colour, UINT alignment);
