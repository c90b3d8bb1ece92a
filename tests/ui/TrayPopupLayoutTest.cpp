#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ui/TrayMenuModel.h"
#include "ui/TrayPopupLayout.h"

namespace {

TrayMenuItem Text(const char16_t* text, uint32_t command = 1) {
    TrayMenuItem item;
    item.text = text;
    item.commandId = command;
    return item;
}

TrayMenuItem Separator() {
    TrayMenuItem item;
    item.separator = true;
    return item;
}

TrayMenuItem Submenu(const char16_t* text) {
    TrayMenuItem item = Text(text, 0);
    item.children.push_back(Text(u"child"));
    return item;
}

// Text, separator, submenu, text: the shape of the top of the real menu.
std::vector<TrayMenuItem> Sample() {
    return {Text(u"a"), Separator(), Submenu(u"b"), Text(u"c")};
}

TEST(TrayPopupLayout, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(TrayMulDiv(7, 144, 96), 11); // 10.5
    EXPECT_EQ(TrayMulDiv(-7, 144, 96), -11);
    EXPECT_EQ(TrayMulDiv(9, 96, 72), 12);
    EXPECT_EQ(TrayMulDiv(9, 120, 72), 15);
    EXPECT_EQ(TrayMenuFontHeight(96), -12);
    EXPECT_EQ(TrayMenuFontHeight(144), -18);
    EXPECT_EQ(TrayScale(32, 96), 32);
    EXPECT_EQ(TrayScale(32, 120), 40);
}

TEST(TrayPopupLayout, EntriesStackFromSevenWithTheirOwnHeights) {
    const TrayPopupLayout layout = LayoutTrayPopup(Sample(), {50, 0, 60, 40}, 96);
    ASSERT_EQ(layout.itemRects.size(), 4u);
    EXPECT_EQ(layout.itemRects[0].top, 7);
    EXPECT_EQ(layout.itemRects[0].bottom, 39);
    EXPECT_EQ(layout.itemRects[1].top, 39);
    EXPECT_EQ(layout.itemRects[1].bottom, 48);
    EXPECT_EQ(layout.itemRects[2].top, 48);
    EXPECT_EQ(layout.itemRects[3].bottom, 112);
    EXPECT_EQ(layout.height, 14 + 3 * 32 + 9);
    EXPECT_EQ(layout.width, 210) << "short texts keep the minimum width";
    EXPECT_EQ(layout.itemRects[2].right, 210);
}

TEST(TrayPopupLayout, WidthFollowsTheWidestTextWithRoomForTheArrow) {
    EXPECT_EQ(LayoutTrayPopup(Sample(), {200, 0, 10, 10}, 96).width, 284);
    EXPECT_EQ(LayoutTrayPopup(Sample(), {10, 0, 200, 10}, 96).width, 296) << "submenu headers add 12";
    EXPECT_EQ(LayoutTrayPopup(Sample(), {10, 999, 10, 10}, 96).width, 210) << "a separator has no text";
}

TEST(TrayPopupLayout, EverythingScalesWithTheDpi) {
    const TrayPopupLayout layout = LayoutTrayPopup(Sample(), {0, 0, 0, 0}, 144);
    EXPECT_EQ(layout.width, 315);
    EXPECT_EQ(layout.itemRects[0].top, 11);
    EXPECT_EQ(layout.itemRects[0].Height(), 48);
    EXPECT_EQ(layout.itemRects[1].Height(), 14); // 13.5
    EXPECT_EQ(layout.height, 11 + 3 * 48 + 14 + 11);
}

TEST(TrayPopupLayout, RootStaysInsideTheWorkArea) {
    const TrayRect work = {0, 0, 1280, 760};
    struct Case {
        const char* name;
        TrayPoint cursor;
        TrayPoint expected;
    };
    const Case cases[] = {
        {"room everywhere", {100, 100}, {100, 100}},
        {"past the right", {1200, 100}, {1070, 100}},
        {"past the bottom", {100, 700}, {100, 460}},
        {"bottom-right corner (tray)", {1279, 759}, {1070, 460}},
        {"left of the work area", {-50, 100}, {0, 100}},
        {"above the work area", {100, -20}, {100, 0}},
    };
    for (const Case& c : cases) {
        const TrayPoint p = PlaceTrayPopup(c.cursor, 210, 300, work);
        EXPECT_EQ(p.x, c.expected.x) << c.name;
        EXPECT_EQ(p.y, c.expected.y) << c.name;
    }
    const TrayPoint tooBig = PlaceTrayPopup({500, 500}, 2000, 1000, work);
    EXPECT_EQ(tooBig.x, 0) << "never beyond the left edge";
    EXPECT_EQ(tooBig.y, 0) << "never beyond the top edge";
}

TEST(TrayPopupLayout, HitTestFindsEntriesButNeverSeparators) {
    const std::vector<TrayMenuItem> items = Sample();
    const TrayPopupLayout layout = LayoutTrayPopup(items, {0, 0, 0, 0}, 96);
    struct Case {
        TrayPoint p;
        int32_t expected;
    };
    const Case cases[] = {
        {{100, 6}, -1},                                                     // top margin
        {{100, 7}, 0},  {{100, 38}, 0},  {{100, 39}, -1},  {{100, 47}, -1}, // separator
        {{100, 48}, 2}, {{100, 111}, 3}, {{100, 112}, -1},                  // bottom margin
        {{-1, 20}, -1}, {{0, 20}, 0},    {{209, 20}, 0},   {{210, 20}, -1}, // width
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTestTrayPopup(layout, items, c.p), c.expected) << c.p.x << "," << c.p.y;
}

TEST(TrayPopupLayout, SubmenuAnchorCountsSeparatorsAtTheirHeight) {
    const std::vector<TrayMenuItem> items = Sample();
    const TrayPopupLayout layout = LayoutTrayPopup(items, {0, 0, 0, 0}, 96);
    const TrayRect parent = {100, 200, 310, 200 + layout.height};
    const TrayPoint anchor = TraySubmenuAnchor(parent, layout, 2, 96);
    EXPECT_EQ(anchor.x, 308);
    // The entry (after a 32 and a 9) starts at 48, so the submenu starts 4 above it: 244, not the 260 that
    // counting the separator as a full entry would give.
    EXPECT_EQ(anchor.y, 244);
    // The submenu's first entry (7 into it) then sits within a few pixels of its header, level with it.
    EXPECT_LT(std::abs(anchor.y + 7 - (parent.top + layout.itemRects[2].top)), 4);
}

TEST(TrayPopupLayout, SubmenuOpensRightThenLeftThenWhereThereIsMoreRoom) {
    const TrayRect work = {0, 0, 1280, 760};
    struct Case {
        const char* name;
        TrayRect parent;
        int32_t width;
        int32_t expectedX;
    };
    const Case cases[] = {
        {"right side free", {100, 100, 310, 400}, 200, 314},
        {"right edge: opens to the left", {1000, 100, 1210, 400}, 200, 796},
        {"neither fits, more room right: pushed inside", {300, 100, 700, 400}, 900, 380},
        {"neither fits, more room left: pushed inside", {700, 100, 1100, 400}, 900, 0},
    };
    for (const Case& c : cases) {
        const TrayPoint p = PlaceTraySubmenu(c.parent, {c.parent.right - 2, 150}, c.width, 100, work, 96);
        EXPECT_EQ(p.x, c.expectedX) << c.name;
        EXPECT_EQ(p.y, 150) << c.name;
    }
}

TEST(TrayPopupLayout, SubmenuMovesUpToFitButNeverAboveTheTop) {
    const TrayRect work = {0, 40, 1280, 760};
    const TrayRect parent = {100, 500, 310, 740};
    EXPECT_EQ(PlaceTraySubmenu(parent, {308, 700}, 200, 150, work, 96).y, 610);
    EXPECT_EQ(PlaceTraySubmenu(parent, {308, 700}, 200, 900, work, 96).y, 40);
    EXPECT_EQ(PlaceTraySubmenu(parent, {308, 20}, 200, 100, work, 96).y, 40);
}

} // namespace
