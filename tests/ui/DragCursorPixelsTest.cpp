#include <gtest/gtest.h>

#include <algorithm>

#include "ui/DragCursorPixels.h"

namespace {

uint32_t At(const std::array<uint32_t, kDragCursorSize * kDragCursorSize>& px, int x, int y) {
    return px[y * kDragCursorSize + x];
}

TEST(DragCursorPixels, ArrowTipAtTheHotspotBadgeBottomRightAndTheListedColours) {
    const auto px = DragCursorPixels();
    EXPECT_EQ(At(px, kDragCursorHotspot, kDragCursorHotspot), 0xFF000000u)
        << "the arrow's tip is the hotspot";
    EXPECT_EQ(At(px, 0, 0), 0u) << "transparent around the arrow";
    EXPECT_EQ(At(px, 31, 0), 0u);
    EXPECT_EQ(At(px, 0, 31), 0u);
    EXPECT_EQ(At(px, 28, 28), 0xFF1AA03Au) << "badge at the bottom right";
    EXPECT_EQ(At(px, 25, 25), 0xFFFFFFFFu) << "the plus sits at the badge's centre";
    for (uint32_t colour : {0xFFF7F7F7u, 0xFF555555u, 0xFFB8B8B8u, 0xFFE4E4E4u, 0xFFFFFFFFu})
        EXPECT_NE(std::find(px.begin(), px.end(), colour), px.end()) << std::hex << colour;
    for (uint32_t p : px)
        EXPECT_TRUE(p == 0 || (p >> 24) == 0xFF) << "every pixel is either transparent or opaque";
}

} // namespace
