// The title's peer part: the connection state words in both languages and the shortened peer version.
#include <gtest/gtest.h>

#include "ui/MainWindowTitle.h"

namespace {

TEST(MainWindowTitle, PeerPartFollowsAddressAndVersion) {
    struct Case {
        const char* name;
        const char* ip;
        const char* version;
        bool english;
        const char* part;
    } cases[] = {
        {"no peer", "", "7.1", true, "Disconnected"},
        {"no peer, Chinese", "", "", false, "未连接"},
        {"peer without version", "10.0.0.2", "", true, "Unknown"},
        {"peer without version, Chinese", "10.0.0.2", "", false, "未知"},
        {"plain version", "10.0.0.2", "20260827.3", true, "20260827.3"},
        {"leading v and build suffix", "10.0.0.2", "v7.2_build5", true, "7.2"},
        {"capital V, space suffix", "10.0.0.2", "V7.2 beta", true, "7.2"},
        {"only one v removed", "10.0.0.2", "vv7", true, "v7"},
        {"cut before the v check", "10.0.0.2", "_v7", true, "Unknown"},
        {"a lone v says nothing", "10.0.0.2", "v", false, "未知"},
        {"v inside kept", "10.0.0.2", "1.0v2", true, "1.0v2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TitlePeerPart(c.ip, c.version, c.english), c.part) << c.name;
}

TEST(MainWindowTitle, WholeTitleHasProductVersionAndArrow) {
    EXPECT_EQ(FormatMainWindowTitle("", "", true), "Marlo  20260827.3 <--> Disconnected");
    EXPECT_EQ(FormatMainWindowTitle("10.0.0.2", "v8.0_x", false), "Marlo  20260827.3 <--> 8.0");
}

} // namespace
