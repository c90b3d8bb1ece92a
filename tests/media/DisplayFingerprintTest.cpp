#include "media/DisplayFingerprint.h"

#include <gtest/gtest.h>

namespace {

// Two monitors side by side, the primary on the right, as enumeration may report them.
DisplayFingerprint TwoMonitors() {
    DisplayFingerprint f;
    f.count = 2;
    f.primaryWidth = 1920;
    f.primaryHeight = 1080;
    f.virtualLeft = -1280;
    f.virtualTop = 0;
    f.virtualWidth = 3200;
    f.virtualHeight = 1080;
    f.hdrState = 0;
    f.colorSpace = 0;
    f.bitsPerColor = 8;
    f.monitors = {{0, 0, 1920, 1080, 1}, {-1280, 0, 0, 1024, 0}};
    SortDisplayMonitors(f.monitors);
    return f;
}

} // namespace

TEST(DisplayFingerprint, ValidNeedsCountPrimaryAndVirtualSizes) {
    EXPECT_TRUE(TwoMonitors().IsValid());
    struct Case {
        const char* name;
        void (*breakIt)(DisplayFingerprint&);
    } cases[] = {
        {"no monitors", [](DisplayFingerprint& f) { f.count = 0; }},
        {"primary width", [](DisplayFingerprint& f) { f.primaryWidth = 0; }},
        {"primary height", [](DisplayFingerprint& f) { f.primaryHeight = -1; }},
        {"virtual width", [](DisplayFingerprint& f) { f.virtualWidth = 0; }},
        {"virtual height", [](DisplayFingerprint& f) { f.virtualHeight = 0; }},
    };
    for (const Case& c : cases) {
        DisplayFingerprint f = TwoMonitors();
        c.breakIt(f);
        EXPECT_FALSE(f.IsValid()) << c.name;
    }
    // A negative virtual origin is an ordinary layout, not an invalid one.
    DisplayFingerprint left = TwoMonitors();
    left.virtualLeft = -5000;
    EXPECT_TRUE(left.IsValid());
}

TEST(DisplayFingerprint, MonitorsSortByLeftThenTopThenRightThenBottom) {
    std::vector<DisplayMonitor> monitors = {
        {0, 0, 1920, 1080, 1}, {0, -1080, 1920, 0, 0}, {0, 0, 1280, 900, 0},
        {0, 0, 1280, 720, 0},  {-1920, 0, 0, 1080, 0},
    };
    SortDisplayMonitors(monitors);
    const std::vector<DisplayMonitor> expected = {
        {-1920, 0, 0, 1080, 0}, {0, -1080, 1920, 0, 0}, {0, 0, 1280, 720, 0},
        {0, 0, 1280, 900, 0},   {0, 0, 1920, 1080, 1},
    };
    EXPECT_EQ(monitors, expected);
}

TEST(DisplayFingerprint, EnumerationOrderDoesNotMakeADifferentLayout) {
    DisplayFingerprint a = TwoMonitors();
    DisplayFingerprint b = TwoMonitors();
    b.monitors = {{0, 0, 1920, 1080, 1}, {-1280, 0, 0, 1024, 0}};
    SortDisplayMonitors(b.monitors);
    EXPECT_TRUE(SameDisplayLayout(a, b));
}

TEST(DisplayFingerprint, AnyLayoutFieldOrMonitorDiffers) {
    struct Case {
        const char* name;
        void (*change)(DisplayFingerprint&);
    } cases[] = {
        {"count", [](DisplayFingerprint& f) { f.count = 3; }},
        {"primary width", [](DisplayFingerprint& f) { f.primaryWidth = 2560; }},
        {"primary height", [](DisplayFingerprint& f) { f.primaryHeight = 1440; }},
        {"virtual left", [](DisplayFingerprint& f) { f.virtualLeft = 0; }},
        {"virtual top", [](DisplayFingerprint& f) { f.virtualTop = -10; }},
        {"virtual width", [](DisplayFingerprint& f) { f.virtualWidth = 3840; }},
        {"virtual height", [](DisplayFingerprint& f) { f.virtualHeight = 1200; }},
        {"monitor moved", [](DisplayFingerprint& f) { f.monitors[0].top = 56; }},
        {"monitor resized", [](DisplayFingerprint& f) { f.monitors[1].right = 2560; }},
        {"primary flag moved",
         [](DisplayFingerprint& f) {
             f.monitors[0].primary = 1;
             f.monitors[1].primary = 0;
         }},
        {"monitor removed", [](DisplayFingerprint& f) { f.monitors.pop_back(); }},
        {"hdr turned on", [](DisplayFingerprint& f) { f.hdrState = 1; }},
        {"colour space", [](DisplayFingerprint& f) { f.colorSpace = 12; }},
        {"bits", [](DisplayFingerprint& f) { f.bitsPerColor = 10; }},
    };
    const DisplayFingerprint base = TwoMonitors();
    for (const Case& c : cases) {
        DisplayFingerprint changed = TwoMonitors();
        c.change(changed);
        EXPECT_FALSE(SameDisplayLayout(base, changed)) << c.name;
        EXPECT_FALSE(SameDisplayLayout(changed, base)) << c.name;
    }
}

TEST(DisplayFingerprint, ColourStateCountsOnlyWhenBothSidesReadIt) {
    const DisplayFingerprint read = TwoMonitors();
    DisplayFingerprint unread = TwoMonitors();
    unread.hdrState = -1;
    unread.colorSpace = 0;
    unread.bitsPerColor = 0; // what a failed read leaves
    EXPECT_TRUE(SameDisplayLayout(read, unread));
    EXPECT_TRUE(SameDisplayLayout(unread, read));

    DisplayFingerprint hdr = TwoMonitors();
    hdr.hdrState = 1;
    hdr.colorSpace = 12;
    hdr.bitsPerColor = 10;
    EXPECT_TRUE(SameDisplayLayout(unread, hdr));
    EXPECT_FALSE(SameDisplayLayout(read, hdr));

    // The layout still counts when the colour state cannot be compared.
    unread.primaryWidth = 1280;
    EXPECT_FALSE(SameDisplayLayout(unread, hdr));
}

TEST(DisplayFingerprint, TextNamesEveryFieldAndMarksThePrimary) {
    EXPECT_EQ(TwoMonitors().ToText(), "count=2 primary=1920x1080 virtual=-1280,0 3200x1080 hdr=0 "
                                      "colorSpace=0(RGB_FULL_G22_NONE_P709) bits=8 "
                                      "monitors=#0=-1280,0,0,1024;#1=0,0,1920,1080P");

    DisplayFingerprint one;
    one.count = 1;
    one.primaryWidth = 1280;
    one.primaryHeight = 800;
    one.virtualWidth = 1280;
    one.virtualHeight = 800;
    one.hdrState = 1;
    one.colorSpace = 12;
    one.bitsPerColor = 10;
    one.monitors = {{0, 0, 1280, 800, 1}};
    EXPECT_EQ(one.ToText(),
              "count=1 primary=1280x800 virtual=0,0 1280x800 hdr=1 "
              "colorSpace=12(RGB_FULL_G2084_NONE_P2020_HDR10) bits=10 monitors=#0=0,0,1280,800P");

    DisplayFingerprint empty;
    EXPECT_EQ(empty.ToText(),
              "count=0 primary=0x0 virtual=0,0 0x0 hdr=-1 colorSpace=0(RGB_FULL_G22_NONE_P709) "
              "bits=0 monitors=");
}
