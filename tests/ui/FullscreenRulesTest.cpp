// Fullscreen of the main window: the style transform, the toggle debounce, the hint countdown and its place.
#include <gtest/gtest.h>

#include <vector>

#include "ui/FullscreenRules.h"

namespace {

TEST(FullscreenStyles, DropsTheFrameAndAddsPopupKeepingTheRest) {
    // WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN; WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE |
    // WS_EX_ACCEPTFILES.
    const WindowStyles s =
        FullscreenStyles({0x00CF0000u | 0x10000000u | 0x02000000u, 0x100u | 0x200u | 0x10u});
    EXPECT_EQ(s.style, 0x80000000u | 0x10000000u | 0x02000000u);
    EXPECT_EQ(s.exStyle, 0x10u);
    const WindowStyles popup = FullscreenStyles({0x80000000u, 0});
    EXPECT_EQ(popup.style, 0x80000000u) << "applying it twice changes nothing more";
}

TEST(FullscreenToggleGate, SecondToggleWithin250MsIsDropped) {
    FullscreenToggleGate gate;
    EXPECT_TRUE(gate.Admit(0)) << "the first toggle always goes ahead";
    EXPECT_FALSE(gate.Admit(249));
    EXPECT_TRUE(gate.Admit(250));
    EXPECT_FALSE(gate.Admit(499));
    EXPECT_TRUE(gate.Admit(0xFFFFFFF0u));
    EXPECT_TRUE(gate.Admit(0x000000EEu)) << "across the tick's wrap, 254 ms later";
}

TEST(FullscreenHintCountdown, ShowsFiveToOneThenEnds) {
    FullscreenHintCountdown countdown;
    countdown.Start();
    std::vector<int32_t> shown{countdown.Seconds()};
    while (countdown.Tick())
        shown.push_back(countdown.Seconds());
    EXPECT_EQ(shown, (std::vector<int32_t>{5, 4, 3, 2, 1}));
    EXPECT_EQ(countdown.Seconds(), 0);
    EXPECT_FALSE(countdown.Tick());
    countdown.Start();
    EXPECT_EQ(countdown.Seconds(), 5) << "each entry starts over";
}

TEST(FullscreenHintRect, CentredBelowTheTopAndScaledByDpi) {
    struct Case {
        const char* name;
        WindowRect main;
        uint32_t dpi;
        WindowRect hint;
    } cases[] = {
        {"96 dpi on 1280 wide", {0, 0, 1280, 800}, 96, {360, 28, 920, 76}},
        {"144 dpi", {0, 0, 1920, 1080}, 144, {540, 42, 1380, 114}},
        {"second monitor", {1280, -200, 2560, 600}, 96, {1640, -172, 2200, -124}},
        {"narrower than the hint: at the left edge", {100, 100, 500, 400}, 96, {100, 128, 660, 176}},
    };
    for (const Case& c : cases) {
        const WindowRect r = FullscreenHintRect(c.main, c.dpi);
        EXPECT_EQ(r.left, c.hint.left) << c.name;
        EXPECT_EQ(r.top, c.hint.top) << c.name;
        EXPECT_EQ(r.right, c.hint.right) << c.name;
        EXPECT_EQ(r.bottom, c.hint.bottom) << c.name;
    }
}

TEST(FullscreenHintText, CountsDownInBothLanguages) {
    EXPECT_EQ(FullscreenHintCountdownText(true, 5),
              "Press Ctrl+Alt+F11 to exit full screen (hint hides in 5s)");
    EXPECT_EQ(FullscreenHintCountdownText(false, 3), "按 Ctrl+Alt+F11 可退出全屏（提示 3 秒后隐藏）");
    EXPECT_EQ(FullscreenHintBaseText(true), "Press Ctrl+Alt+F11 to exit full screen");
    EXPECT_EQ(FullscreenHintBaseText(false), "按 Ctrl+Alt+F11 退出全屏");
}

} // namespace
