#include "ui/TrayPopupLayout.h"

#include <algorithm>

namespace {

constexpr int32_t kMinWidth = 210;
constexpr int32_t kTextPadding = 84; // check-mark column and right margin around the text
constexpr int32_t kSubmenuArrowRoom = 12;
constexpr int32_t kEdgeMargin = 7; // above the first and below the last entry
constexpr int32_t kTextHeight = 32;
constexpr int32_t kSeparatorHeight = 9;
constexpr int32_t kSubmenuGap = 4;
constexpr int32_t kAnchorInset = 2;
constexpr int32_t kAnchorRise = 4;

// Start on `low`, pulled back so that [start, start + size) ends by `high`, never before `low`.
int32_t FitInside(int32_t start, int32_t size, int32_t low, int32_t high) {
    if (start + size > high)
        start = high - size;
    return std::max(start, low);
}

} // namespace

int32_t TrayMulDiv(int32_t a, int32_t b, int32_t c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t magnitude = product < 0 ? -product : product;
    const int64_t divisor = c < 0 ? -static_cast<int64_t>(c) : c;
    const int64_t rounded = (magnitude + divisor / 2) / divisor; // halves away from zero
    return static_cast<int32_t>((product < 0) != (c < 0) ? -rounded : rounded);
}

int32_t TrayScale(int32_t px, uint32_t dpi) {
    return TrayMulDiv(px, static_cast<int32_t>(dpi), 96);
}

int32_t TrayMenuFontHeight(uint32_t dpi) {
    return -TrayMulDiv(9, static_cast<int32_t>(dpi), 72);
}

TrayPopupLayout LayoutTrayPopup(const std::vector<TrayMenuItem>& items,
                                const std::vector<int32_t>& textWidths, uint32_t dpi) {
    TrayPopupLayout layout;
    layout.width = TrayScale(kMinWidth, dpi);
    int32_t y = TrayScale(kEdgeMargin, dpi);
    for (size_t i = 0; i < items.size(); ++i) {
        const TrayMenuItem& item = items[i];
        const int32_t h = TrayScale(item.separator ? kSeparatorHeight : kTextHeight, dpi);
        layout.itemRects.push_back({0, y, 0, y + h});
        y += h;
        if (item.separator)
            continue;
        int32_t text = i < textWidths.size() ? std::max(textWidths[i], 0) : 0;
        int32_t w =
            text + TrayScale(kTextPadding, dpi) + (item.HasSubmenu() ? TrayScale(kSubmenuArrowRoom, dpi) : 0);
        layout.width = std::max(layout.width, w);
    }
    layout.height = y + TrayScale(kEdgeMargin, dpi);
    for (TrayRect& r : layout.itemRects)
        r.right = layout.width;
    return layout;
}

TrayPoint PlaceTrayPopup(TrayPoint cursor, int32_t width, int32_t height, const TrayRect& work) {
    return {FitInside(cursor.x, width, work.left, work.right),
            FitInside(cursor.y, height, work.top, work.bottom)};
}

int32_t HitTestTrayPopup(const TrayPopupLayout& layout, const std::vector<TrayMenuItem>& items, TrayPoint p) {
    if (p.x < 0 || p.x >= layout.width)
        return -1;
    for (size_t i = 0; i < layout.itemRects.size() && i < items.size(); ++i) {
        const TrayRect& r = layout.itemRects[i];
        if (p.y >= r.top && p.y < r.bottom)
            return items[i].separator ? -1 : static_cast<int32_t>(i);
    }
    return -1;
}

TrayPoint TraySubmenuAnchor(const TrayRect& parent, const TrayPopupLayout& layout, int32_t index,
                            uint32_t dpi) {
    int32_t top = index >= 0 && static_cast<size_t>(index) < layout.itemRects.size()
                      ? layout.itemRects[static_cast<size_t>(index)].top
                      : TrayScale(kEdgeMargin, dpi);
    return {parent.right - TrayScale(kAnchorInset, dpi), parent.top + top - TrayScale(kAnchorRise, dpi)};
}

TrayPoint PlaceTraySubmenu(const TrayRect& parent, TrayPoint anchor, int32_t width, int32_t height,
                           const TrayRect& work, uint32_t dpi) {
    const int32_t gap = TrayScale(kSubmenuGap, dpi);
    const int32_t right = parent.right + gap;
    const int32_t left = parent.left - width - gap;
    int32_t x = right;
    if (right + width > work.right) {
        x = left;
        if (left < work.left) {
            const int32_t roomRight = work.right - parent.right;
            const int32_t roomLeft = parent.left - work.left;
            x = FitInside(roomRight >= roomLeft ? right : left, width, work.left, work.right);
        }
    }
    return {x, FitInside(anchor.y, height, work.top, work.bottom)};
}
