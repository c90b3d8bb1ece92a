#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/NetworkLifecycleModule.h"
#include "core/Log.h"
#include "core/StateTestSupport.h"
#include "support/TestLog.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class NetworkLifecycleModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }

    RuntimeTestBinding binding;
    StateManager& state = binding.stateManager;
    NetworkLifecycleModule module;
};

TEST_F(NetworkLifecycleModuleTest, StopClearsTheServiceFlagsAndTheNetworkPeerLossWithItsLines) {
    state.SetDiscoveryRunning(true);
    state.SetControlRunning(true);
    state.SetNetworkPeerLost(true, "10.0.0.2", nullptr);
    binding.stateLog.Clear();

    module.Stop();

    EXPECT_FALSE(state.IsDiscoveryRunning());
    EXPECT_FALSE(state.IsControlRunning());
    EXPECT_FALSE(state.IsNetworkPeerLost());
    EXPECT_TRUE(binding.stateLog.Has("[STATE][NET] peerLost=0 ip= reason=network service shutdown"));
    EXPECT_TRUE(binding.stateLog.Has(
        "[DIAG][NETWORK] peerLost 1 -> 0 reason=network service shutdown source=StateManager"));
    EXPECT_EQ(binding.stateLog.Count("[STATE][NET] discoveryRunning=0"), 1u);
    EXPECT_EQ(binding.stateLog.Count("[STATE][NET] controlRunning=0"), 1u);
    EXPECT_THAT(TestLog().Messages(), ElementsAre("[NET][SERVICE] shutdown"));
}

TEST_F(NetworkLifecycleModuleTest, StopWithNothingSetOnlyLogsTheShutdown) {
    module.Stop();
    EXPECT_THAT(binding.stateLog.Lines(), IsEmpty());
    EXPECT_THAT(TestLog().Messages(), ElementsAre("[NET][SERVICE] shutdown"));
    EXPECT_FALSE(module.ServicePending());
}

} // namespace
