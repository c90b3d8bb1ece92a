#include "ui/TrayMenuPaint.h"

#include <algorithm>

namespace {

constexpr uint32_t kCheckEnabled = 0x0078D7; // RGB(0,120,215)
constexpr uint32_t kGreyMark = 0x969696;     // RGB(150,150,150)
constexpr uint32_t kText = 0x202020;         // RGB(32,32,32)
constexpr uint32_t kGreyText = 0x969696;
constexpr uint32_t kArrow = 0x505050;     // RGB(80,80,80)
constexpr uint32_t kGreyArrow = 0xA0A0A0; // RGB(160,160,160)

TrayDrawCommand Command(TrayDrawKind kind) {
    TrayDrawCommand c;
    c.kind = kind;
    return c;
}

void AppendEntry(std::vector<TrayDrawCommand>& out, const TrayMenuItem& item, const TrayRect& r,
                 bool highlighted, bool roundedHighlight, uint32_t dpi) {
    auto s = [dpi](int32_t px) { return TrayScale(px, dpi); };
    const int32_t middle = (r.top + r.bottom) / 2;
    if (item.separator) {
        TrayDrawCommand line = Command(TrayDrawKind::Line);
        line.points[0] = {r.left + s(14), middle};
        line.points[1] = {r.right - s(14), middle};
        line.penWidth = 1;
        line.colour = kTraySeparator;
        out.push_back(line);
        return;
    }
    if (highlighted && item.enabled) {
        TrayDrawCommand hover = Command(TrayDrawKind::RoundRect);
        hover.rect = {r.left + s(6), r.top + s(2), r.right - s(6), r.bottom - s(2)};
        hover.ellipse = roundedHighlight ? s(12) : 0;
        hover.fill = kTrayHover;
        out.push_back(hover);
    }
    if (item.checked) {
        TrayDrawCommand mark = Command(TrayDrawKind::CheckMark);
        mark.points = {TrayPoint{r.left + s(14), middle}, TrayPoint{r.left + s(18), middle + s(5)},
                       TrayPoint{r.left + s(26), middle - s(6)}};
        mark.penWidth = s(2);
        mark.colour = item.enabled ? kCheckEnabled : kGreyMark;
        out.push_back(mark);
    }
    TrayDrawCommand text = Command(TrayDrawKind::Text);
    text.rect = {r.left + s(38), r.top, r.right - s(26), r.bottom};
    text.colour = item.enabled ? kText : kGreyText;
    text.text = item.text;
    out.push_back(text);
    if (item.HasSubmenu()) {
        TrayDrawCommand arrow = Command(TrayDrawKind::Triangle);
        arrow.points = {TrayPoint{r.right - s(17), middle - s(5)}, TrayPoint{r.right - s(17), middle + s(5)},
                        TrayPoint{r.right - s(11), middle}};
        arrow.colour = item.enabled ? kArrow : kGreyArrow;
        out.push_back(arrow);
    }
}

} // namespace

std::vector<TrayDrawCommand> BuildTrayPopupPaint(const std::vector<TrayMenuItem>& items,
                                                 const TrayPopupLayout& layout, int32_t hoveredIndex,
                                                 uint32_t dpi) {
    std::vector<TrayDrawCommand> out;
    TrayDrawCommand background = Command(TrayDrawKind::RoundRect);
    background.rect = {0, 0, layout.width, layout.height};
    background.ellipse = TrayScale(24, dpi);
    background.fill = kTrayBackground;
    background.colour = kTrayBorder;
    background.penWidth = 1;
    out.push_back(background);
    const size_t count = std::min(items.size(), layout.itemRects.size());
    for (size_t i = 0; i < count; ++i)
        AppendEntry(out, items[i], layout.itemRects[i], static_cast<int32_t>(i) == hoveredIndex, true, dpi);
    return out;
}

std::vector<TrayDrawCommand> BuildNativeTrayItemPaint(const TrayMenuItem& item, const TrayRect& rect,
                                                      bool selected, uint32_t dpi) {
    std::vector<TrayDrawCommand> out;
    TrayDrawCommand background = Command(TrayDrawKind::RoundRect);
    background.rect = rect;
    background.fill = kTrayBackground;
    out.push_back(background);
    AppendEntry(out, item, rect, selected, false, dpi);
    return out;
}

TraySize MeasureNativeTrayItem(const TrayMenuItem& item, int32_t textWidth, uint32_t dpi) {
    if (item.separator)
        return {TrayScale(210, dpi), TrayScale(9, dpi)};
    return {std::max(textWidth + TrayScale(82, dpi), TrayScale(210, dpi)), TrayScale(32, dpi)};
}
