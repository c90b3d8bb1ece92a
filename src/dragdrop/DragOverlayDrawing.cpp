#include "dragdrop/DragOverlayDrawing.h"

namespace {

using Kind = OverlayPrimitive::Kind;

OverlayPrimitive Fill(int32_t l, int32_t t, int32_t r, int32_t b, OverlayColor c) {
    OverlayPrimitive p;
    p.kind = Kind::FillRect;
    p.left = l, p.top = t, p.right = r, p.bottom = b;
    p.fill = c;
    return p;
}

OverlayPrimitive Line(std::vector<std::pair<int32_t, int32_t>> points, OverlayColor pen, int32_t width) {
    OverlayPrimitive p;
    p.kind = Kind::Polyline;
    p.pen = pen;
    p.penWidth = width;
    p.points = std::move(points);
    return p;
}

} // namespace

std::vector<OverlayPrimitive> DragOverlayPrimitives(int32_t width, int32_t height) {
    constexpr int32_t left = 4, top = 4, right = 34, bottom = 32;
    constexpr OverlayColor outline{40, 40, 40}, text{130, 130, 130}, white{255, 255, 255};

    std::vector<OverlayPrimitive> out;
    out.push_back(Fill(0, 0, width, height, kOverlayColorKey));
    out.push_back(Fill(left + 2, top + 2, right + 2, bottom + 2, {80, 80, 80})); // shadow
    out.push_back(Fill(left, top, right, bottom, white));

    OverlayPrimitive page;
    page.kind = Kind::Outline;
    page.left = left, page.top = top, page.right = right, page.bottom = bottom;
    page.pen = outline;
    out.push_back(page);
    out.push_back(
        Line({{right - 9, top}, {right - 9, top + 9}, {right, top + 9}}, outline, 1)); // folded corner

    out.push_back(Line({{left + 5, top + 15}, {right - 5, top + 15}}, text, 1));
    out.push_back(Line({{left + 5, top + 21}, {right - 7, top + 21}}, text, 1));

    OverlayPrimitive badge;
    badge.kind = Kind::Ellipse;
    badge.left = 28, badge.top = 18, badge.right = 52, badge.bottom = 36;
    badge.fill = {38, 180, 68};
    badge.pen = {18, 110, 40};
    out.push_back(badge);
    out.push_back(Line({{40, 23}, {40, 31}}, white, 3));
    out.push_back(Line({{36, 27}, {44, 27}}, white, 3));
    return out;
}
