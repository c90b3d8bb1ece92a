#include <gtest/gtest.h>

#include "core/LongRunGuardLine.h"

namespace {

TEST(LongRunGuardLine, RoleTexts) {
    const std::pair<int32_t, const char*> cases[] = {{0, "Idle"},      {1, "Controller"}, {2, "Controlled"},
                                                     {3, "Switching"}, {4, "Unknown"},    {-1, "Unknown"}};
    for (const auto& [role, text] : cases)
        EXPECT_STREQ(LongRunGuardRoleText(role), text) << role;
}

TEST(LongRunGuardLine, CarriesCountersInMibAndTheRuntimeState) {
    ProcessResourceCounters counters;
    counters.workingSetBytes = (uint64_t{5} << 20) + (uint64_t{1} << 20) - 1; // just under 6 MiB
    counters.privateBytes = uint64_t{3} << 30;
    counters.handles = 321;
    counters.threads = 17;
    RuntimeSnapshot s;
    s.programState = 5;
    s.role = 1;
    s.hostRunning = false;
    s.clientRunning = true;
    s.hostCaptureFps = 60;
    s.hostEncodeFps = 59;
    s.hostSendFps = 58;
    s.hostKbps = 9999; // not part of the line
    s.clientReceiveFps = 30;
    s.clientDecodeFps = 29;
    s.clientDrawFps = 28;
    s.clientKbps = 12000;
    s.streamWidth = 1920;
    s.streamHeight = 1080;
    s.desktopWidth = 2560;
    s.desktopHeight = 1440;
    s.peerIp = "192.168.1.20";
    s.peerName = "office"; // not part of the line
    EXPECT_EQ(FormatLongRunGuardLine("periodic", counters, s),
              "LongRunGuard reason=periodic wsMB=5 privateMB=3072 handles=321 threads=17 state=CONTROLLING "
              "role=Controller host=0 client=1 fps cap/enc/send=60/59/58 recv/dec/rend=30/29/28 kbps=12000 "
              "stream=1920x1080 desktop=2560x1440 peer=192.168.1.20");
}

TEST(LongRunGuardLine, FailedQueriesUnknownStateAndMissingReason) {
    RuntimeSnapshot s;
    s.programState = 42;
    s.role = 7;
    EXPECT_EQ(
        FormatLongRunGuardLine(nullptr, ProcessResourceCounters{}, s),
        "LongRunGuard reason=? wsMB=0 privateMB=0 handles=0 threads=0 state=UNKNOWN role=Unknown host=0 "
        "client=0 fps cap/enc/send=0/0/0 recv/dec/rend=0/0/0 kbps=0 stream=0x0 desktop=0x0 peer=");
}

} // namespace
