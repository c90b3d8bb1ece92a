#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CursorPathMonitorLifecycleModule.h"
#include "app/MouseMonitorLifecycleModule.h"
#include "app/ScreenScaleMonitorLifecycleModule.h"

namespace {

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

template <typename Module> class MonitorLifecycleModuleTest : public ::testing::Test {};

using Modules = ::testing::Types<MouseMonitorLifecycleModule, ScreenScaleMonitorLifecycleModule,
                                 CursorPathMonitorLifecycleModule>;
TYPED_TEST_SUITE(MonitorLifecycleModuleTest, Modules);

TYPED_TEST(MonitorLifecycleModuleTest, RunsTheBoundMonitorAndReportsItsStart) {
    TypeParam module;
    Calls().clear();
    EXPECT_TRUE(module.ServicePending());
    EXPECT_TRUE(module.Start()) << "nothing bound: nothing to start, and no failure";
    module.Stop();

    TypeParam::BindService(
        [] {
            Calls().push_back("start");
            return false;
        },
        [] { Calls().push_back("stop"); });
    EXPECT_FALSE(module.ServicePending());
    EXPECT_FALSE(module.Start()) << "a monitor whose thread could not start fails its module";
    module.Stop();
    TypeParam::BindService(nullptr, nullptr);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"start", "stop"}));
}

} // namespace
