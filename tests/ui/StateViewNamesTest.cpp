#include <gtest/gtest.h>

#include <string>

#include "ui/StateViewNames.h"

namespace {

TEST(StateViewNamesTest, SizesInPowersOf1024) {
    struct Case {
        uint64_t bytes;
        const char* text;
    };
    for (Case c : {Case{0, "0B"}, Case{1023, "1023B"}, Case{1024, "1.0KB"}, Case{1536, "1.5KB"},
                   Case{1048575, "1024.0KB"}, Case{1048576, "1.0MB"}, Case{1073741823, "1024.0MB"},
                   Case{1073741824, "1.0GB"}, Case{5ull << 40, "5120.0GB"}})
        EXPECT_EQ(FormatPanelSize(c.bytes), c.text) << c.bytes;
}

TEST(StateViewNamesTest, ProgramStatesWithUnknownOutsideTheTable) {
    const char* english[] = {"Disconnected", "Host starting", "Host running", "Client starting",
                             "Connecting",   "Controlling",   "Controlled",   "Switching",
                             "Peer lost",    "Error",         "Stopping"};
    for (int32_t s = 0; s <= 10; ++s)
        EXPECT_STREQ(ProgramStateDisplayName(s, true), english[s]);
    EXPECT_STREQ(ProgramStateDisplayName(6, false), "正在被控");
    EXPECT_STREQ(ProgramStateDisplayName(10, false), "停止中");
    for (int32_t s : {11, -1, 1000}) {
        EXPECT_STREQ(ProgramStateDisplayName(s, true), "Unknown");
        EXPECT_STREQ(ProgramStateDisplayName(s, false), "未知");
    }
}

TEST(StateViewNamesTest, RolesChannelsAndClipboardKinds) {
    EXPECT_STREQ(RoleDisplayName(0, true), "Idle");
    EXPECT_STREQ(RoleDisplayName(1, false), "正在控制");
    EXPECT_STREQ(RoleDisplayName(3, true), "Switching");
    EXPECT_STREQ(RoleDisplayName(4, true), "Unknown");
    EXPECT_STREQ(RoleDisplayName(-2, false), "未知");

    const char* channels[] = {"Disabled",  "Disconnected", "Listening", "Connecting",
                              "Connected", "Reconnecting", "Error"};
    for (int32_t s = 0; s <= 6; ++s)
        EXPECT_STREQ(ChannelStateDisplayName(s, true), channels[s]);
    EXPECT_STREQ(ChannelStateDisplayName(4, false), "已连接");
    EXPECT_STREQ(ChannelStateDisplayName(7, true), "Unknown");

    const char* kinds[] = {"NONE",        "LOCAL_TEXT",   "LOCAL_IMAGE", "LOCAL_FILES",
                           "REMOTE_TEXT", "REMOTE_IMAGE", "REMOTE_FILES"};
    for (uint32_t k = 0; k <= 6; ++k)
        EXPECT_STREQ(ClipboardKindName(k), kinds[k]);
    EXPECT_STREQ(ClipboardKindName(7), "NONE");
    EXPECT_STREQ(ClipboardKindName(0xFFFFFFFFu), "NONE");
}

} // namespace
