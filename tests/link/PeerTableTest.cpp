#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "DiscoveryTestFakes.h"
#include "core/Log.h"
#include "link/PeerTable.h"
#include "support/TestLog.h"

namespace {

using namespace Discovery;

class PeerTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    bool Logged(const std::string& line) {
        for (const std::string& m : TestLog().Messages())
            if (m == line)
                return true;
        return false;
    }

    uint32_t now = 50000;
    PeerTable table{[this] { return now; }};
};

std::vector<std::string> IdsAndIps(const std::vector<PeerRecord>& records) {
    std::vector<std::string> out;
    for (const PeerRecord& r : records)
        out.push_back(r.id + "@" + r.ip);
    return out;
}

// The identity rule: one table per case, records arriving in order.
struct IdentityCase {
    const char* name;
    std::vector<PeerRecord> arrivals;
    std::vector<PeerUpsert> results;
    std::vector<std::string> table; // id@ip in list order
    uint64_t generation;
};

TEST_F(PeerTableTest, IdentityRuleSameIdOrSameIpIsTheSamePeer) {
    const std::vector<IdentityCase> cases = {
        {"new peer", {MakePeer("A", "10.0.0.2", 1)}, {PeerUpsert::Added}, {"A@10.0.0.2"}, 1},
        {"same id, same ip refreshes",
         {MakePeer("A", "10.0.0.2", 1), MakePeer("A", "10.0.0.2", 2)},
         {PeerUpsert::Added, PeerUpsert::Refreshed},
         {"A@10.0.0.2"},
         1},
        {"renamed computer: new id at the same ip keeps the entry and raises the generation",
         {MakePeer("TSLY-OLD", "10.0.0.2", 1), MakePeer("TSLY-NEW", "10.0.0.2", 2)},
         {PeerUpsert::Added, PeerUpsert::IdChanged},
         {"TSLY-NEW@10.0.0.2"},
         2},
        {"same id at a new ip follows the peer without a new generation",
         {MakePeer("A", "10.0.0.2", 1), MakePeer("A", "10.0.0.9", 2)},
         {PeerUpsert::Added, PeerUpsert::Refreshed},
         {"A@10.0.0.9"},
         1},
        {"two ids at one ip collapse into one record",
         {MakePeer("A", "10.0.0.2", 1), MakePeer("B", "10.0.0.2", 2), MakePeer("A", "10.0.0.2", 3)},
         {PeerUpsert::Added, PeerUpsert::IdChanged, PeerUpsert::IdChanged},
         {"A@10.0.0.2"},
         3},
        {"the first match in list order wins",
         {MakePeer("A", "10.0.0.2", 1), MakePeer("B", "10.0.0.3", 2), MakePeer("B", "10.0.0.2", 3)},
         {PeerUpsert::Added, PeerUpsert::Added, PeerUpsert::IdChanged},
         {"B@10.0.0.2", "B@10.0.0.3"},
         3},
        {"arrival order is kept",
         {MakePeer("C", "10.0.0.4", 1), MakePeer("A", "10.0.0.2", 2), MakePeer("C", "10.0.0.4", 3)},
         {PeerUpsert::Added, PeerUpsert::Added, PeerUpsert::Refreshed},
         {"C@10.0.0.4", "A@10.0.0.2"},
         2},
    };
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.name);
        PeerTable t([] { return 100u; });
        for (size_t i = 0; i < c.arrivals.size(); ++i)
            EXPECT_EQ(t.Upsert(c.arrivals[i]), c.results[i]) << "arrival " << i;
        EXPECT_EQ(IdsAndIps(t.Snapshot()), c.table);
        EXPECT_EQ(t.Generation(), c.generation);
    }
}

TEST_F(PeerTableTest, RefreshTakesEveryFieldAndClearsFailures) {
    PeerRecord first = MakePeer("A", "10.0.0.2", 1, "Old", "1", 0);
    first.tcpFailures = 1;
    table.Upsert(first);
    table.Upsert(MakePeer("A", "10.0.0.2", 9, "New", "2", 1));
    std::vector<PeerRecord> peers = table.Snapshot();
    ASSERT_EQ(peers.size(), 1u);
    EXPECT_EQ(peers[0].name, "New");
    EXPECT_EQ(peers[0].ver, "2");
    EXPECT_EQ(peers[0].ultra, 1u);
    EXPECT_EQ(peers[0].lastSeenTick, 9u);
    EXPECT_EQ(peers[0].tcpFailures, 0);
}

TEST_F(PeerTableTest, AFullTableDropsNewPeersButStillRefreshesKnownOnes) {
    for (size_t i = 0; i < kPeerTableCapacity; ++i)
        ASSERT_EQ(table.Upsert(MakePeer("P" + std::to_string(i), "10.0.1." + std::to_string(i), 1)),
                  PeerUpsert::Added);
    uint64_t generation = table.Generation();
    EXPECT_EQ(table.Upsert(MakePeer("X", "10.0.2.1", 1)), PeerUpsert::TableFull);
    EXPECT_EQ(table.Upsert(MakePeer("P3", "10.0.1.3", 5, "Renamed")), PeerUpsert::Refreshed);
    EXPECT_EQ(table.Snapshot().size(), kPeerTableCapacity);
    EXPECT_EQ(table.Generation(), generation);
    EXPECT_FALSE(table.FindById("X"));
    EXPECT_EQ(table.FindByIp("10.0.1.3")->name, "Renamed");
}

// Expiry with liveness checks: a peer last seen at 50000, the clock at 50000 + age.
struct ExpiryCase {
    const char* name;
    uint32_t age;
    int32_t failuresBefore;
    bool withProbe;
    LivenessResult probe;
    bool checked;       // the probe was asked
    bool kept;          // still in the table
    int32_t failures;   // afterwards (kept or removed)
    const char* reason; // when removed
};

TEST_F(PeerTableTest, ExpiryTable) {
    const std::vector<ExpiryCase> cases = {
        {"young peer is not checked", 700, 0, true, LivenessResult::Failed, false, true, 0, nullptr},
        {"first failed check counts", 701, 0, true, LivenessResult::Failed, true, true, 1, nullptr},
        {"second failed check is dead", 701, 1, true, LivenessResult::Failed, true, false, 2, "tcp-dead"},
        {"a good check clears the failures", 701, 1, true, LivenessResult::Alive, true, true, 0, nullptr},
        {"a skipped check changes nothing", 1500, 1, true, LivenessResult::Skipped, true, true, 1, nullptr},
        {"answering peer stays until 2500", 2500, 0, true, LivenessResult::Alive, true, true, 0, nullptr},
        {"answering peer goes at 2501: udp-timeout", 2501, 0, true, LivenessResult::Alive, true, false, 0,
         "udp-timeout"},
        {"dead wins over the age", 3000, 1, true, LivenessResult::Failed, true, false, 2, "tcp-dead"},
        {"without checks: kept at 2500", 2500, 1, false, LivenessResult::Failed, false, true, 1, nullptr},
        {"without checks: udp-timeout at 2501", 2501, 1, false, LivenessResult::Failed, false, false, 1,
         "udp-timeout"},
    };
    for (const ExpiryCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestLog().Clear();
        uint32_t clock = 50000;
        PeerTable t([&clock] { return clock; });
        PeerRecord peer = MakePeer("TSLY-B", "10.0.0.2", 50000, "B");
        peer.tcpFailures = c.failuresBefore;
        t.Upsert(peer);
        clock = 50000 + c.age;
        int probes = 0;
        PeerTable::LivenessProbe probe;
        if (c.withProbe)
            probe = [&](const PeerRecord& r) {
                ++probes;
                EXPECT_EQ(r.ip, "10.0.0.2");
                return c.probe;
            };
        std::vector<ExpiredPeer> expired = t.CleanupExpired(probe);
        EXPECT_EQ(probes, c.checked ? 1 : 0);
        std::vector<PeerRecord> left = t.Snapshot();
        if (c.kept) {
            ASSERT_EQ(left.size(), 1u);
            EXPECT_TRUE(expired.empty());
            EXPECT_EQ(left[0].tcpFailures, c.failures);
            EXPECT_EQ(left[0].lastSeenTick, 50000u); // a check never counts as being seen
        } else {
            EXPECT_TRUE(left.empty());
            ASSERT_EQ(expired.size(), 1u);
            EXPECT_EQ(expired[0].record.tcpFailures, c.failures);
            std::string line = std::string("Discovery expired device name=B id=TSLY-B ip=10.0.0.2 reason=") +
                               c.reason + " fail=" + std::to_string(c.failures);
            EXPECT_TRUE(Logged(line)) << line;
        }
    }
}

TEST_F(PeerTableTest, AgesWrapWithTheTick) {
    uint32_t clock = 0xFFFFFF00u;
    PeerTable t([&clock] { return clock; });
    t.Upsert(MakePeer("A", "10.0.0.2", clock));
    clock = 0x100; // 512 ms later
    EXPECT_TRUE(t.CleanupExpired(nullptr).empty());
    clock = 0x100 + 2000;
    EXPECT_EQ(t.CleanupExpired(nullptr).size(), 1u);
}

TEST_F(PeerTableTest, ExpiredPeersLeaveInListOrderAndTheRestKeepTheirOrder) {
    table.Upsert(MakePeer("A", "10.0.0.2", 50000));
    table.Upsert(MakePeer("B", "10.0.0.3", 47000));
    table.Upsert(MakePeer("C", "10.0.0.4", 50000));
    table.Upsert(MakePeer("D", "10.0.0.5", 47000));
    now = 50100;
    std::vector<ExpiredPeer> expired = table.CleanupExpired(nullptr);
    ASSERT_EQ(expired.size(), 2u);
    EXPECT_EQ(expired[0].record.id, "B");
    EXPECT_EQ(expired[1].record.id, "D");
    EXPECT_EQ(IdsAndIps(table.Snapshot()), (std::vector<std::string>{"A@10.0.0.2", "C@10.0.0.4"}));
}

TEST_F(PeerTableTest, APeerRefreshedDuringItsCheckIsJudgedByItsNewMessage) {
    PeerRecord peer = MakePeer("A", "10.0.0.2", 50000);
    peer.tcpFailures = 1;
    table.Upsert(peer);
    now = 51000;
    std::vector<ExpiredPeer> expired = table.CleanupExpired([&](const PeerRecord&) {
        table.Upsert(MakePeer("A", "10.0.0.2", 50990)); // its broadcast arrives meanwhile
        return LivenessResult::Failed;
    });
    EXPECT_TRUE(expired.empty());
    ASSERT_EQ(table.Snapshot().size(), 1u);
    EXPECT_EQ(table.Snapshot()[0].tcpFailures, 0);
}

TEST_F(PeerTableTest, ReadersAreNotHeldUpByALivenessCheck) {
    table.Upsert(MakePeer("A", "10.0.0.2", 50000));
    now = 51000;
    bool readerDone = false;
    table.CleanupExpired([&](const PeerRecord&) {
        auto reader = std::async(std::launch::async, [&] { return table.Snapshot().size(); });
        readerDone = reader.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
        if (readerDone)
            EXPECT_EQ(reader.get(), 1u);
        return LivenessResult::Alive;
    });
    EXPECT_TRUE(readerDone);
}

TEST_F(PeerTableTest, GenerationWaitersWakeOnAChangeAndTimeOutOtherwise) {
    uint64_t seen = table.Generation();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(table.WaitForGenerationChange(seen, 30), seen);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));

    std::thread bump([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        table.Upsert(MakePeer("A", "10.0.0.2", 1));
    });
    EXPECT_EQ(table.WaitForGenerationChange(seen, 5000), seen + 1);
    bump.join();
    table.BumpGeneration();
    EXPECT_EQ(table.WaitForGenerationChange(seen + 1, 5000), seen + 2);
}

} // namespace
