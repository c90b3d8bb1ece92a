#include <gtest/gtest.h>

#include "input/RemoteNumLock.h"

namespace {

using A = RemoteNumLockAction;

struct NumLockCase {
    const char* name;
    int32_t flags;
    bool down;
    bool currentOn;
    RemoteNumLockAction want;
};

class DecideRemoteNumLockTest : public ::testing::TestWithParam<NumLockCase> {};

TEST_P(DecideRemoteNumLockTest, Decides) {
    const NumLockCase& c = GetParam();
    EXPECT_EQ(DecideRemoteNumLock(c.flags, c.down, c.currentOn), c.want);
    EXPECT_EQ(ConsumesPacket(c.want), c.want != A::FallThrough);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecideRemoteNumLockTest,
    ::testing::Values(NumLockCase{"NoTargetDownFallsThrough", 0x01, true, false, A::FallThrough},
                      NumLockCase{"NoTargetUpFallsThrough", 0x00, false, true, A::FallThrough},
                      NumLockCase{"TapAndWantWithoutValidFallThrough", 0x19, true, false, A::FallThrough},
                      NumLockCase{"TapDown", 0x15, true, false, A::Tap},
                      NumLockCase{"TapDownIgnoresWant", 0x1D, true, true, A::Tap},
                      NumLockCase{"TapUpConsumed", 0x14, false, true, A::TapConsumeUp},
                      NumLockCase{"SyncWantOnWhileOff", 0x0D, true, false, A::SyncToggle},
                      NumLockCase{"SyncWantOffWhileOn", 0x05, true, true, A::SyncToggle},
                      NumLockCase{"SyncWantOnAlreadyOn", 0x0D, true, true, A::SyncAlreadyMatched},
                      NumLockCase{"SyncWantOffAlreadyOff", 0x05, true, false, A::SyncAlreadyMatched},
                      NumLockCase{"SyncUpConsumed", 0x0C, false, false, A::SyncConsumeUp}),
    [](const ::testing::TestParamInfo<NumLockCase>& info) { return std::string(info.param.name); });

} // namespace
