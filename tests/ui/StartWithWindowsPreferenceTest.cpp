#include <gtest/gtest.h>

#include <string>

#include "support/LoggedTest.h"
#include "ui/StartWithWindowsPreference.h"

namespace {

class StartWithWindowsPreferenceTest : public LoggedTest {};

TEST_F(StartWithWindowsPreferenceTest, ReadsAreInterpretedWithTheirLogLines) {
    struct Case {
        const char* name;
        StartupValueRead read;
        bool expected;
        std::string line; // "" when the read is not logged
    };
    const Case cases[] = {
        {"stored 1", {0, 0, 4, 4, 1}, true, ""},
        {"stored 0", {0, 0, 4, 4, 0}, false, ""},
        {"any non-zero", {0, 0, 4, 4, 7}, true, ""},
        {"key missing", {2, 0, 0, 0, 0}, true, ""},
        {"value missing", {0, 2, 0, 0, 0}, true, ""},
        {"key refused",
         {5, 0, 0, 0, 0},
         true,
         "Tray startup preference open failed rc=5; use default=enabled"},
        {"string value",
         {0, 0, 1, 4, 0},
         true,
         "Tray startup preference query invalid rc=0 type=1 cb=4; use default=enabled"},
        {"short value",
         {0, 0, 4, 2, 0},
         true,
         "Tray startup preference query invalid rc=0 type=4 cb=2; use default=enabled"},
        {"value too long",
         {0, 234, 4, 8, 0},
         true,
         "Tray startup preference query invalid rc=234 type=4 cb=8; use default=enabled"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        EXPECT_EQ(InterpretStartupValue(c.read), c.expected) << c.name;
        const auto messages = TestLog().Messages();
        if (c.line.empty())
            EXPECT_TRUE(messages.empty()) << c.name;
        else
            EXPECT_EQ(messages, std::vector<std::string>{c.line}) << c.name;
    }
}

TEST(StartWithWindowsCache, ReadIsReusedForSixtySecondsUnlessReloadIsForced) {
    StartWithWindowsCache cache;
    EXPECT_FALSE(cache.IsFresh(1000, false)) << "never read";
    cache.Store(false, 1000);
    EXPECT_FALSE(cache.Value());
    EXPECT_TRUE(cache.IsFresh(1000, false));
    EXPECT_TRUE(cache.IsFresh(60999, false));
    EXPECT_FALSE(cache.IsFresh(61000, false));
    EXPECT_FALSE(cache.IsFresh(2000, true));
}

TEST(StartWithWindowsCache, AgeIsMeasuredAcrossTheTickWrap) {
    StartWithWindowsCache cache;
    cache.Store(true, 0xFFFFFF00u);
    EXPECT_TRUE(cache.IsFresh(0x100u, false));
    EXPECT_FALSE(cache.IsFresh(0xFFFFFF00u + StartWithWindowsCache::kMaxAgeMs, false));
}

TEST(StartWithWindowsCache, ReadAtTickZeroStillCounts) {
    StartWithWindowsCache cache;
    cache.Store(false, 0);
    EXPECT_TRUE(cache.IsFresh(10, false));
    EXPECT_FALSE(cache.Value());
}

} // namespace
