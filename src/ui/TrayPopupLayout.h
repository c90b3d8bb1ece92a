#pragma once

#include <cstdint>
#include <vector>

#include "ui/TrayMenuModel.h"

// Geometry of the owner-drawn tray popup. Every design number is in pixels at 96 DPI and scaled by
// dpi / 96; text widths come measured in the menu font at the popup's DPI.

struct TrayPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct TrayRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

// a * b / c rounded to the nearest, as Win32 MulDiv does (c must not be 0).
int32_t TrayMulDiv(int32_t a, int32_t b, int32_t c);
// A design size at this DPI.
int32_t TrayScale(int32_t px, uint32_t dpi);
// The menu font's height (negative: character height), -9 pt at the DPI.
int32_t TrayMenuFontHeight(uint32_t dpi);

// Where each entry lies inside the popup (client coordinates): entries are stacked from y = 7, text entries
// 32 high and separators 9 high, with 7 below the last.
struct TrayPopupLayout {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<TrayRect> itemRects; // one per entry, full popup width
};

// textWidths[i] is the measured width of entry i's text (ignored for separators).
TrayPopupLayout LayoutTrayPopup(const std::vector<TrayMenuItem>& items,
                                const std::vector<int32_t>& textWidths, uint32_t dpi);

// The root popup at the cursor point, kept inside the work area: moved left or up by what passes the right or
// bottom edge, never beyond the left or top edge. Returns the top-left corner.
TrayPoint PlaceTrayPopup(TrayPoint cursor, int32_t width, int32_t height, const TrayRect& workArea);

// The entry under a client point: its index, or -1 for a separator, a point outside the popup's width or
// between entries.
int32_t HitTestTrayPopup(const TrayPopupLayout& layout, const std::vector<TrayMenuItem>& items,
                         TrayPoint client);

// The point a submenu of entry `index` opens at: the parent's right edge - 2, and 4 above the entry's own top
// (so its first entry sits level with the parent's), separators above it counted at their own height.
TrayPoint TraySubmenuAnchor(const TrayRect& parentScreenRect, const TrayPopupLayout& parentLayout,
                            int32_t index, uint32_t dpi);

// A submenu's top-left corner: right of the parent (4 px gap), else left of it; when neither side fits, the
// side with more room, pushed inside the work area. y from the anchor, moved up to fit, never above the top.
TrayPoint PlaceTraySubmenu(const TrayRect& parentScreenRect, TrayPoint anchor, int32_t width, int32_t height,
                           const TrayRect& workArea, uint32_t dpi);
