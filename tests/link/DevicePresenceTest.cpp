#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/DevicePresence.h"
#include "core/StateTestSupport.h"
#include "support/TestLog.h"

namespace {

const std::string kMissing = "DevicePresence: MISSING reason=%s required=VID_067B&PID_27A5";
const std::string kRemoved =
    "DevicePresence: device removed -> publish WaitingDevice immediately; cleanup sessions without reconnect";
const char* const kMissingStatus = "设备已断开，等待设备插入";
const char* const kMissingError = "设备已断开: required USB device VID_067B&PID_27A5 not found";

std::string Missing(const std::string& reason) {
    std::string line = kMissing;
    return line.replace(line.find("%s"), 2, reason);
}

class FakeScanner final : public ICableScanner {
public:
    CableScan FindDevice() override {
        TestLog().Note("scan");
        return {present.load(), present.load() ? u"USB\\VID_067B&PID_27A5\\5&1" : u""};
    }
    std::atomic<bool> present{false};
};

// Notes every reaction in the log's order, so lines and reactions are checked as one sequence.
class NotingReactions final : public IDevicePresenceReactions {
public:
    void SessionDeviceInserted() override { TestLog().Note("SessionDeviceInserted"); }
    void DiscoveryBroadcastNow() override { TestLog().Note("DiscoveryBroadcastNow"); }
    void AutoConnectDevicePresent() override { TestLog().Note("AutoConnectDevicePresent"); }
    void SessionDeviceRemoved() override { TestLog().Note("SessionDeviceRemoved"); }
    void DiscoveryClearPeerCache() override { TestLog().Note("DiscoveryClearPeerCache"); }
    void AutoConnectDeviceRemoved() override { TestLog().Note("AutoConnectDeviceRemoved"); }
    void WakeDeviceListWaiters() override { TestLog().Note("WakeDeviceListWaiters"); }
};

class DevicePresenceTest : public ::testing::Test {
protected:
    DevicePresenceTest() {
        presence.SetReactions(&reactions);
        Log::Open();
        TestLog().Clear();
    }
    ~DevicePresenceTest() override { Log::Close(); }

    RuntimeTestBinding runtime;
    FakeScanner scanner;
    NotingReactions reactions;
    DevicePresence presence{scanner};
};

TEST_F(DevicePresenceTest, TheFirstResultIsShownWithoutReactions) {
    EXPECT_FALSE(presence.Refresh("startup"));
    EXPECT_EQ(TestLog().Messages(), (std::vector<std::string>{"@scan", Missing("startup")}));
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_EQ(s.statusMessage, kMissingStatus);
    EXPECT_EQ(s.errorText, kMissingError);
    EXPECT_TRUE(presence.HasPublished());
    EXPECT_FALSE(presence.IsPresent());
}

TEST_F(DevicePresenceTest, AFirstPresentResultClearsTheErrorWithoutReactions) {
    RuntimeSetErrorText("earlier failure");
    scanner.present = true;
    EXPECT_TRUE(presence.Refresh("startup"));
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{
                  "@scan", "DevicePresence: PRESENT reason=startup instance=USB\\VID_067B&PID_27A5\\5&1"}));
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_EQ(s.statusMessage, "Authorized USB device inserted");
    EXPECT_EQ(s.errorText, "");
    EXPECT_TRUE(presence.IsPresent());
}

TEST_F(DevicePresenceTest, TheSameResultAgainPublishesNothing) {
    for (bool present : {false, true}) {
        DevicePresence fresh(scanner);
        fresh.SetReactions(&reactions);
        scanner.present = present;
        fresh.Refresh("startup");
        RuntimeSetStatusMessage("set by someone else");
        TestLog().Clear();
        EXPECT_EQ(fresh.Refresh("adaptive-fallback"), present);
        EXPECT_EQ(TestLog().Messages(), (std::vector<std::string>{"@scan"})) << "present=" << present;
        EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "set by someone else");
    }
}

TEST_F(DevicePresenceTest, PluggingInAndOutReactsInOrder) {
    presence.Refresh("startup");
    TestLog().Clear();

    scanner.present = true;
    EXPECT_TRUE(presence.Refresh("device-change"));
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{"@scan",
                                        "DevicePresence: PRESENT reason=device-change "
                                        "instance=USB\\VID_067B&PID_27A5\\5&1",
                                        "@SessionDeviceInserted", "@DiscoveryBroadcastNow",
                                        "@AutoConnectDevicePresent"}));
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "Authorized USB device inserted");
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "");

    TestLog().Clear();
    scanner.present = false;
    EXPECT_FALSE(presence.Refresh("peer-lost-fast-check"));
    EXPECT_EQ(TestLog().Messages(),
              (std::vector<std::string>{"@scan", Missing("peer-lost-fast-check"), kRemoved,
                                        "@SessionDeviceRemoved", "@DiscoveryClearPeerCache",
                                        "@AutoConnectDeviceRemoved", "@WakeDeviceListWaiters"}));
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, kMissingStatus);
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, kMissingError);
}

TEST_F(DevicePresenceTest, WithoutReactionsAChangeIsStillPublished) {
    DevicePresence bare(scanner);
    scanner.present = true;
    bare.Refresh("startup");
    TestLog().Clear();
    scanner.present = false;
    bare.Refresh("device-change");
    EXPECT_EQ(TestLog().Messages(), (std::vector<std::string>{"@scan", Missing("device-change"), kRemoved}));
}

TEST_F(DevicePresenceTest, AnAbsentReasonReadsRefreshAndTheScanTickIsKept) {
    EXPECT_FALSE(presence.HasScanned());
    TestLog().tick = 0xFFFFFF00u;
    presence.Refresh(nullptr);
    EXPECT_TRUE(presence.HasScanned());
    EXPECT_EQ(presence.LastScanTick(), 0xFFFFFF00u);

    scanner.present = true;
    TestLog().tick = 42;
    TestLog().Clear();
    presence.Refresh("");
    EXPECT_EQ(presence.LastScanTick(), 42u);
    EXPECT_EQ(TestLog().Messages()[1],
              "DevicePresence: PRESENT reason=refresh instance=USB\\VID_067B&PID_27A5\\5&1");
    TestLog().tick = 1000;
}

// Scans from the monitor, discovery and the control server meet: each change is published exactly once and
// the reactions alternate, never two insertions or two removals in a row.
class FlippingScanner final : public ICableScanner {
public:
    CableScan FindDevice() override {
        bool present = (m_scans.fetch_add(1) % 2) == 0;
        return {present, u""};
    }
    int Scans() const { return m_scans.load(); }

private:
    std::atomic<int> m_scans{0};
};

class CountingReactions final : public IDevicePresenceReactions {
public:
    void SessionDeviceInserted() override { Step(true); }
    void SessionDeviceRemoved() override { Step(false); }
    std::atomic<int> inserted{0}, removed{0}, outOfOrder{0};

private:
    void Step(bool in) {
        if (m_lastInserted.exchange(in) == in)
            ++outOfOrder;
        ++(in ? inserted : removed);
    }
    std::atomic<bool> m_lastInserted{true}; // the first result is present: the first change is a removal
};

TEST_F(DevicePresenceTest, ConcurrentScansPublishEveryChangeOnce) {
    FlippingScanner flipping;
    CountingReactions counting;
    DevicePresence shared(flipping);
    shared.SetReactions(&counting);
    constexpr int kThreads = 4, kScans = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&shared] {
            for (int i = 0; i < kScans; ++i)
                shared.Refresh("stress");
        });
    for (std::thread& t : threads)
        t.join();

    std::vector<std::string> log = TestLog().Messages();
    auto published = std::count_if(log.begin(), log.end(), [](const std::string& l) {
        return l.rfind("DevicePresence: PRESENT", 0) == 0 || l.rfind("DevicePresence: MISSING", 0) == 0;
    });
    EXPECT_EQ(flipping.Scans(), kThreads * kScans);
    EXPECT_EQ(published, kThreads * kScans) << "every scan flips, so every scan publishes";
    EXPECT_EQ(counting.inserted + counting.removed, kThreads * kScans - 1) << "the first result has none";
    EXPECT_EQ(counting.outOfOrder, 0);
}

} // namespace
