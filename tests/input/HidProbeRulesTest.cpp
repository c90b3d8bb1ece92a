#include <gtest/gtest.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/HidProbeRules.h"
#include "support/TestLog.h"

namespace {

class HidPresenceCacheTest : public ::testing::Test {
protected:
    HidPresenceCacheTest() : m_previous(RuntimeBind({nullptr, nullptr, &m_state})) {
        Log::Open();
        TestLog().Clear();
    }
    ~HidPresenceCacheTest() override { RuntimeBind(m_previous); }

    int Probe(uint32_t now, int answer) {
        return cache.Probe(now, [&] {
            ++searches;
            return answer;
        });
    }

    class QuietLog final : public IStateLog {
    public:
        void Line(const char*) override {}
        bool CategoryOn(const char*) override { return false; }
        bool Allow(const char*, uint32_t) override { return true; }
    } m_log;
    StateManager m_state{&m_log};
    RuntimeBindings m_previous;
    HidPresenceCache cache;
    int searches = 0;
};

TEST_F(HidPresenceCacheTest, APresentResultIsReusedForOneSecond) {
    EXPECT_EQ(Probe(10000, 1), 1);
    EXPECT_TRUE(m_state.IsHidPresent());
    EXPECT_EQ(Probe(10999, -1), 1);
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(Probe(11000, -1), -1);
    EXPECT_EQ(searches, 2);
    EXPECT_FALSE(m_state.IsHidPresent());
    EXPECT_EQ(cache.Cached(), -1);
}

TEST_F(HidPresenceCacheTest, AMissingCableIsSearchedForEveryTimeAndLoggedOnce) {
    EXPECT_EQ(Probe(10000, -1), -1);
    EXPECT_EQ(Probe(10001, -1), -1);
    EXPECT_EQ(searches, 2) << "-1 is never served from the cache";
    EXPECT_EQ(CountLogMessages("[HW][HID] present=-1"), 1u);
    Probe(10002, 1);
    EXPECT_EQ(CountLogMessages("[HW][HID] present=1"), 1u);
}

TEST(HidProbeGate, OneStartPerSecondUnlessForcedAndNeverTwoAtOnce) {
    HidProbeGate gate;
    ASSERT_TRUE(gate.TryBegin(false, 5000));
    EXPECT_FALSE(gate.TryBegin(true, 5001)) << "one probe thread at a time, even when forced";
    gate.End();
    EXPECT_FALSE(gate.TryBegin(false, 5999));
    EXPECT_TRUE(gate.TryBegin(true, 5999));
    gate.End();
    EXPECT_FALSE(gate.TryBegin(false, 6998));
    EXPECT_TRUE(gate.TryBegin(false, 6999));
    EXPECT_TRUE(gate.Running());
}

TEST(ProbeResultLog, RepeatsStayQuietUnlessSlowOldOrDebugged) {
    ProbeResultLog log;
    EXPECT_TRUE(log.ShouldLog(false, -1, 2, 1000));
    EXPECT_FALSE(log.ShouldLog(false, -1, 2, 2000));
    EXPECT_TRUE(log.ShouldLog(true, -1, 2, 2100)) << "hid category on";
    EXPECT_TRUE(log.ShouldLog(false, -1, 1000, 2200)) << "slow probe";
    EXPECT_TRUE(log.ShouldLog(false, 1, 2, 2300)) << "a new result";
    EXPECT_FALSE(log.ShouldLog(false, 1, 2, 2300 + 29999));
    EXPECT_TRUE(log.ShouldLog(false, 1, 2, 2300 + 30000)) << "the last line is 30 s old";
}

} // namespace
