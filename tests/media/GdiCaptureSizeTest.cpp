#include "media/GdiCaptureSize.h"

#include <gtest/gtest.h>

TEST(GdiCaptureSize, OutputSizeTable) {
    struct Case {
        const char* name;
        CaptureSize source;
        int32_t maxWidth;
        int32_t maxHeight;
        CaptureSize output;
    } cases[] = {
        {"no maximum", {1920, 1080}, 0, 0, {1920, 1080}},
        {"no maximum, odd source made even", {1367, 769}, 0, 0, {1366, 768}},
        {"only one maximum given is no maximum", {1920, 1080}, 1280, 0, {1920, 1080}},
        {"maximum above the source", {1920, 1080}, 3840, 2160, {1920, 1080}},
        {"maximum equal to the source", {1920, 1080}, 1920, 1080, {1920, 1080}},
        {"odd source within the maximum", {1921, 1081}, 3840, 2160, {1920, 1080}},
        {"same aspect, exact ratio", {1920, 1080}, 1280, 720, {1280, 720}},
        {"width limits", {2560, 1440}, 1280, 1000, {1280, 720}},
        {"height limits", {2560, 1440}, 2000, 720, {1280, 720}},
        {"only the width exceeds", {2000, 500}, 1000, 1000, {1000, 250}},
        {"scaled result truncated then made even", {1920, 1200}, 1000, 1000, {1000, 624}},
        {"odd scaled side made even", {1000, 999}, 500, 2000, {500, 498}},
        {"odd maximum made even", {1920, 1080}, 1281, 2000, {1280, 720}},
        {"tiny result is at least 2", {10000, 10}, 100, 100, {100, 2}},
        {"one-pixel source is at least 2", {1, 1}, 0, 0, {2, 2}},
        {"portrait", {1080, 1920}, 1920, 1080, {606, 1080}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GdiCaptureOutputSize(c.source, c.maxWidth, c.maxHeight), c.output) << c.name;
    }
}
