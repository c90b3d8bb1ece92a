#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "link/ControlMessage.h"
#include "link/LocalIdentity.h"
#include "link/PeerRecord.h"
#include "support/TestLog.h"
#include "support/Utf8Checks.h"

namespace {

using namespace Discovery;

class PeerRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }
};

TEST_F(PeerRecordTest, DiscoveryMessageGivesTheRecordWithTheSourceAddress) {
    LocalIdentity peer{"TSLY-B", "B", "20260827.3"};
    PeerRecord r = PeerRecordFromDiscovery(BuildDiscoverMessage(peer) + "ip=10.9.9.9;", "10.0.0.2", 777);
    EXPECT_EQ(r.id, "TSLY-B");
    EXPECT_EQ(r.name, "B");
    EXPECT_EQ(r.ver, "20260827.3");
    EXPECT_EQ(r.ip, "10.0.0.2"); // never from the message
    EXPECT_EQ(r.lastSeenTick, 777u);
    EXPECT_EQ(r.tcpFailures, 0);
    EXPECT_EQ(r.ultra, 1u);
}

TEST_F(PeerRecordTest, UltraFollowsTheCapabilityRule) {
    const std::string head = "TSLY_DISCOVER;id=TSLY-M;name=Mac;ver=3;";
    EXPECT_EQ(PeerRecordFromDiscovery(head, "10.0.0.3", 1).ultra, 0u);
    EXPECT_EQ(PeerRecordFromDiscovery(head + "cap_uq=1;", "10.0.0.3", 1).ultra, 1u);
    EXPECT_EQ(PeerRecordFromDiscovery(head + SecondCapabilityKey() + "=1;", "10.0.0.3", 1).ultra, 1u);
    EXPECT_EQ(PeerRecordFromDiscovery(head + "cap_uq=true;", "10.0.0.3", 1).ultra, 0u);
}

TEST_F(PeerRecordTest, PeerTextsAreBoundedAtCharacterBoundaries) {
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "\xC3\xA9"; // é
    PeerRecord r = PeerRecordFromDiscovery("TSLY_DISCOVER;id=" + std::string(600, 'i') + ";name=" + longName +
                                               ";ver=" + std::string(300, 'v') + ";",
                                           "10.0.0.2", 1);
    EXPECT_EQ(r.id, std::string(kPeerTextMaxBytes, 'i'));
    EXPECT_EQ(r.name.size(), 254u);
    EXPECT_TRUE(IsCompleteUtf8(r.name));
    EXPECT_EQ(r.ver.size(), kPeerTextMaxBytes);
}

PeerRecord Record(const char* id, const char* ip) {
    PeerRecord r;
    r.id = id;
    r.ip = ip;
    return r;
}

TEST_F(PeerRecordTest, SameIdOrSameIpIsTheSamePeer) {
    struct {
        PeerRecord stored, incoming;
        bool same;
    } cases[] = {
        {Record("TSLY-A", "10.0.0.2"), Record("TSLY-A", "10.0.0.2"), true},
        {Record("TSLY-A", "10.0.0.2"), Record("TSLY-A", "10.0.0.7"), true},
        {Record("TSLY-A", "10.0.0.2"), Record("TSLY-Z", "10.0.0.2"), true},
        {Record("TSLY-A", "10.0.0.2"), Record("TSLY-Z", "10.0.0.7"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSamePeer(c.stored, c.incoming), c.same) << c.incoming.id << " " << c.incoming.ip;
}

TEST_F(PeerRecordTest, RefreshTakesOverEverythingAndResetsFailures) {
    PeerRecord stored{"TSLY-A", "A", "10.0.0.2", "1", 100, 1, 1};
    PeerRecord incoming{"TSLY-A", "A2", "10.0.0.2", "2", 900, 0, 0};
    EXPECT_FALSE(RefreshPeerRecord(stored, incoming));
    EXPECT_EQ(stored.name, "A2");
    EXPECT_EQ(stored.ver, "2");
    EXPECT_EQ(stored.lastSeenTick, 900u);
    EXPECT_EQ(stored.tcpFailures, 0);
    EXPECT_EQ(stored.ultra, 0u);
    EXPECT_TRUE(TestLog().Messages().empty());
}

TEST_F(PeerRecordTest, ANewIdAtTheSameAddressIsReportedAndLogged) {
    PeerRecord stored{"TSLY-OLD", "OLD", "10.0.0.2", "1", 100, 1, 0};
    PeerRecord incoming{"TSLY-NEW", "NEW", "10.0.0.2", "1", 200, 0, 1};
    EXPECT_TRUE(RefreshPeerRecord(stored, incoming));
    EXPECT_EQ(stored.id, "TSLY-NEW");
    EXPECT_EQ(stored.ultra, 1u);
    EXPECT_EQ(TestLog().Messages(), std::vector<std::string>{"Discovery refresh device identity ip=10.0.0.2 "
                                                             "old_id=TSLY-OLD new_id=TSLY-NEW"});
}

} // namespace
