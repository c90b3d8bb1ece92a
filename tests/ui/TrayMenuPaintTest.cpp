#include <gtest/gtest.h>

#include <vector>

#include "ui/TrayMenuPaint.h"

namespace {

TrayMenuItem Entry(const char16_t* text, bool checked, bool enabled, bool submenu) {
    TrayMenuItem item;
    item.text = text;
    item.commandId = submenu ? 0 : 1;
    item.checked = checked;
    item.enabled = enabled;
    if (submenu)
        item.children.push_back(TrayMenuItem{});
    return item;
}

TrayMenuItem Separator() {
    TrayMenuItem item;
    item.separator = true;
    return item;
}

bool SamePoint(TrayPoint a, TrayPoint b) {
    return a.x == b.x && a.y == b.y;
}

TEST(TrayMenuPaint, PopupDrawsBackgroundThenEachEntryInItsBand) {
    const std::vector<TrayMenuItem> items = {Entry(u"Checked", true, true, false), Separator(),
                                             Entry(u"Sub", false, true, true)};
    const TrayPopupLayout layout = LayoutTrayPopup(items, {0, 0, 0}, 96);
    const std::vector<TrayDrawCommand> paint = BuildTrayPopupPaint(items, layout, -1, 96);
    ASSERT_EQ(paint.size(), 6u);

    // Background: rounded, the whole client area, with its 1-px border.
    EXPECT_EQ(paint[0].kind, TrayDrawKind::RoundRect);
    EXPECT_EQ(paint[0].rect.right, layout.width);
    EXPECT_EQ(paint[0].rect.bottom, layout.height);
    EXPECT_EQ(paint[0].ellipse, 24);
    EXPECT_EQ(paint[0].fill, 0xFAFAFAu);
    EXPECT_EQ(paint[0].colour, 0xD2D2D2u);
    EXPECT_EQ(paint[0].penWidth, 1);

    // Entry 0 (7..39, middle 23): check mark, then its text.
    EXPECT_EQ(paint[1].kind, TrayDrawKind::CheckMark);
    EXPECT_TRUE(SamePoint(paint[1].points[0], {14, 23}));
    EXPECT_TRUE(SamePoint(paint[1].points[1], {18, 28}));
    EXPECT_TRUE(SamePoint(paint[1].points[2], {26, 17}));
    EXPECT_EQ(paint[1].penWidth, 2);
    EXPECT_EQ(paint[1].colour, 0x0078D7u);
    EXPECT_EQ(paint[2].kind, TrayDrawKind::Text);
    EXPECT_EQ(paint[2].text, u"Checked");
    EXPECT_EQ(paint[2].rect.left, 38);
    EXPECT_EQ(paint[2].rect.right, 210 - 26);
    EXPECT_EQ(paint[2].rect.top, 7);
    EXPECT_EQ(paint[2].rect.bottom, 39);
    EXPECT_EQ(paint[2].colour, 0x202020u);

    // Separator (39..48, middle 43): a line inset 14.
    EXPECT_EQ(paint[3].kind, TrayDrawKind::Line);
    EXPECT_TRUE(SamePoint(paint[3].points[0], {14, 43}));
    EXPECT_TRUE(SamePoint(paint[3].points[1], {196, 43}));
    EXPECT_EQ(paint[3].colour, 0xE2E2E2u);

    // Submenu header (48..80, middle 64): text, then the arrow at the right.
    EXPECT_EQ(paint[4].kind, TrayDrawKind::Text);
    EXPECT_EQ(paint[5].kind, TrayDrawKind::Triangle);
    EXPECT_TRUE(SamePoint(paint[5].points[0], {193, 59}));
    EXPECT_TRUE(SamePoint(paint[5].points[1], {193, 69}));
    EXPECT_TRUE(SamePoint(paint[5].points[2], {199, 64}));
    EXPECT_EQ(paint[5].colour, 0x505050u);
}

TEST(TrayMenuPaint, HoverHighlightsOnlyEnabledEntries) {
    const std::vector<TrayMenuItem> items = {Entry(u"On", false, true, false),
                                             Entry(u"Off", true, false, true)};
    const TrayPopupLayout layout = LayoutTrayPopup(items, {0, 0}, 96);

    const std::vector<TrayDrawCommand> hoverEnabled = BuildTrayPopupPaint(items, layout, 0, 96);
    ASSERT_GE(hoverEnabled.size(), 2u);
    EXPECT_EQ(hoverEnabled[1].kind, TrayDrawKind::RoundRect);
    EXPECT_EQ(hoverEnabled[1].fill, 0xE8F0FEu);
    EXPECT_EQ(hoverEnabled[1].ellipse, 12);
    EXPECT_EQ(hoverEnabled[1].penWidth, 0);
    EXPECT_EQ(hoverEnabled[1].rect.left, 6);
    EXPECT_EQ(hoverEnabled[1].rect.right, 204);
    EXPECT_EQ(hoverEnabled[1].rect.top, 9);
    EXPECT_EQ(hoverEnabled[1].rect.bottom, 37);

    // The greyed entry hovered: no highlight; its mark, text and arrow in grey.
    const std::vector<TrayDrawCommand> hoverGreyed = BuildTrayPopupPaint(items, layout, 1, 96);
    const std::vector<TrayDrawCommand> none = BuildTrayPopupPaint(items, layout, -1, 96);
    ASSERT_EQ(hoverGreyed.size(), none.size());
    const TrayDrawCommand& mark = hoverGreyed[2];
    EXPECT_EQ(mark.kind, TrayDrawKind::CheckMark);
    EXPECT_EQ(mark.colour, 0x969696u);
    EXPECT_EQ(hoverGreyed[3].colour, 0x969696u);
    EXPECT_EQ(hoverGreyed[4].kind, TrayDrawKind::Triangle);
    EXPECT_EQ(hoverGreyed[4].colour, 0xA0A0A0u);
}

TEST(TrayMenuPaint, SizesScaleWithTheDpi) {
    const std::vector<TrayMenuItem> items = {Entry(u"x", true, true, false)};
    const TrayPopupLayout layout = LayoutTrayPopup(items, {0}, 192);
    const std::vector<TrayDrawCommand> paint = BuildTrayPopupPaint(items, layout, 0, 192);
    EXPECT_EQ(paint[0].ellipse, 48);
    EXPECT_EQ(paint[1].ellipse, 24);
    EXPECT_EQ(paint[2].penWidth, 4);
    EXPECT_EQ(paint[3].rect.left, 76);
}

TEST(TrayMenuPaint, NativeItemFillsItsRectAndHighlightsWithSquareCorners) {
    const TrayMenuItem item = Entry(u"Exit", false, true, false);
    const TrayRect rect = {3, 100, 213, 132};
    const std::vector<TrayDrawCommand> paint = BuildNativeTrayItemPaint(item, rect, true, 96);
    ASSERT_EQ(paint.size(), 3u);
    EXPECT_EQ(paint[0].kind, TrayDrawKind::RoundRect);
    EXPECT_EQ(paint[0].ellipse, 0);
    EXPECT_EQ(paint[0].fill, 0xFAFAFAu);
    EXPECT_EQ(paint[0].rect.top, 100);
    EXPECT_EQ(paint[1].fill, 0xE8F0FEu);
    EXPECT_EQ(paint[1].ellipse, 0);
    EXPECT_EQ(paint[1].rect.left, 9);
    EXPECT_EQ(paint[2].kind, TrayDrawKind::Text);
    EXPECT_EQ(paint[2].rect.left, 41);
    EXPECT_EQ(paint[2].rect.right, 187);
}

TEST(TrayMenuPaint, NativeItemSizes) {
    const TrayMenuItem text = Entry(u"t", false, true, false);
    EXPECT_EQ(MeasureNativeTrayItem(Separator(), 500, 96).width, 210);
    EXPECT_EQ(MeasureNativeTrayItem(Separator(), 500, 96).height, 9);
    EXPECT_EQ(MeasureNativeTrayItem(text, 100, 96).width, 210);
    EXPECT_EQ(MeasureNativeTrayItem(text, 200, 96).width, 282);
    EXPECT_EQ(MeasureNativeTrayItem(text, 200, 96).height, 32);
    EXPECT_EQ(MeasureNativeTrayItem(text, 0, 144).height, 48);
}

} // namespace
