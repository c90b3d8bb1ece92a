#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "input/InputMessages.h"
#include "input/UsbHidTestSupport.h"

namespace {

using UsbHidCommandsTest = UsbHidFixture;

TEST_F(UsbHidCommandsTest, SystemKeySendsCtrlAltDelThenReleasesEverything) {
    OpenAndClear();
    ASSERT_EQ(UsbHidLink::SetKBMsg(*m_context, InputVk::kShift, InputMessage::kKeyDown), 1);
    m_fake.ClearEvents();

    EXPECT_EQ(UsbHidLink::SetSystemKey(*m_context), 1);
    // Ctrl+Alt with the held Shift, then every slot cleared before the final Esc release.
    EXPECT_EQ(Steps(), (std::vector<std::string>{KeyWrite(0x07, 76), "sleep 10", KeyWrite(0x07, 0),
                                                 KeyWrite(0x00, 0)}));
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), 1);
    EXPECT_EQ(m_fake.Events("write").back(), KeyWrite(0x00, 4));
}

TEST_F(UsbHidCommandsTest, SystemKeyOpensTheDeviceFirstAndReturnsTheLastFramesResult) {
    EXPECT_EQ(UsbHidLink::SetSystemKey(*m_context), 1);
    EXPECT_EQ(Steps(), Concat(Concat({"find", "open \\\\?\\hid#vid_35e6&pid_2402#fake"}, ResetSteps()),
                              {KeyWrite(0x05, 76), "sleep 10", KeyWrite(0x05, 0), KeyWrite(0x00, 0)}));

    FakeHidTransport::Settings shortWrite;
    shortWrite.writeShortBy = 3;
    m_fake.Set(shortWrite);
    EXPECT_EQ(UsbHidLink::SetSystemKey(*m_context), -1);
}

struct CommandCase {
    const char* name;
    int (*run)(UsbHidContext&);
    std::vector<std::string> steps;
};

class UsbHidCableCommand : public UsbHidFixture, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(UsbHidCableCommand, WritesItsFrameAndReadsTheReplyWhereOneComes) {
    OpenAndClear();
    EXPECT_EQ(GetParam().run(*m_context), 1);
    EXPECT_EQ(Steps(), GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsbHidCableCommand,
    ::testing::Values(
        CommandCase{"DiskSide0",
                    [](UsbHidContext& c) { return UsbHidLink::SetUSBDiskChange(c, 0); },
                    {CommandWrite(HidCableCommand::UsbDiskSwitch, 0), "read 64 1000"}},
        CommandCase{"DiskSide1",
                    [](UsbHidContext& c) { return UsbHidLink::SetUSBDiskChange(c, 1); },
                    {CommandWrite(HidCableCommand::UsbDiskSwitch, 1), "read 64 1000"}},
        CommandCase{"PortSide1",
                    [](UsbHidContext& c) { return UsbHidLink::SetUSBPORTChange(c, 1); },
                    {CommandWrite(HidCableCommand::UsbPortSwitch, 1)}},
        CommandCase{"HardwareReset", [](UsbHidContext& c) { return UsbHidLink::SetUSBHardWareReset(c); },
                    Concat({CommandWrite(HidCableCommand::UsbHardwareReset, 1), "read 64 1000", "sleep 1000"},
                           ResetSteps())},
        CommandCase{"KeyboardDefault",
                    [](UsbHidContext& c) { return UsbHidLink::SetUSBKBDefault(c); },
                    {CommandWrite(HidCableCommand::KeyboardDefault, 1), "read 64 1000", "sleep 1000"}}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST_F(UsbHidCommandsTest, ASilentCableTimesTheReplyReadOutAndTheSendResultStillCounts) {
    OpenAndClear();
    FakeHidTransport::Settings silent;
    silent.readStatus = HidIoStatus::TimedOut;
    m_fake.Set(silent);

    EXPECT_EQ(UsbHidLink::SetUSBDiskChange(*m_context, 1), 1);
    EXPECT_EQ(UsbHidLink::SetUSBKBDefault(*m_context), 1);
    EXPECT_EQ(m_fake.Events("read"), (std::vector<std::string>{"read 64 1000", "read 64 1000"}));
    EXPECT_EQ(CountLogMessages("[HID][RECV][TIMEOUT] no reply within 1000 ms"), 2u);
    EXPECT_EQ(UsbHidLink::RecvHidData(*m_context), -1);
}

TEST_F(UsbHidCommandsTest, AReplyOfAnOversizedInputReportIsNotRead) {
    OpenAndClear();
    FakeHidTransport::Settings oversized;
    oversized.lengths = HidReportLengths{1025, 64};
    m_fake.Set(oversized);
    EXPECT_EQ(UsbHidLink::SetUSBDiskChange(*m_context, 0), 1);
    EXPECT_TRUE(m_fake.Events("read").empty());
    EXPECT_TRUE(LogHas("[HID][RECV][REFUSED] input report length 1025 outside 1..1024"));
}

TEST_F(UsbHidCommandsTest, AFailedCommandWriteWaitsForNoReplyAndNoPause) {
    OpenAndClear();
    FakeHidTransport::Settings failing;
    failing.writeStatus = HidIoStatus::Failed;
    m_fake.Set(failing);
    EXPECT_EQ(UsbHidLink::SetUSBHardWareReset(*m_context), -1);
    EXPECT_EQ(Steps(), (std::vector<std::string>{
                           "write " + HexOf(BuildOneByteFrame(HidCableCommand::UsbHardwareReset, 1))}));
}

TEST_F(UsbHidCommandsTest, RecvHidDataFillsTheInputBufferWithOneReport) {
    OpenAndClear();
    EXPECT_EQ(UsbHidLink::RecvHidData(*m_context), 64);
    EXPECT_EQ(m_context->inputReport[63], 63);
    EXPECT_EQ(m_context->inputReport[64], 0) << "nothing beyond the report";
}

TEST_F(UsbHidCommandsTest, SetWindosSizeStoresTheSizeOnly) {
    UsbHidLink::SetWindosSize(*m_context, 1920, 1080);
    EXPECT_EQ(m_context->windowWidth, 1920);
    EXPECT_EQ(m_context->windowHeight, 1080);
    EXPECT_EQ(m_context->screenWidth, 3840);
    EXPECT_TRUE(m_fake.Events().empty());
}

// Keys, moves, Ctrl+Alt+Del, probes and reopenings from several threads at once: the device never sees two
// calls at a time, is never closed while one runs, and every report holds one whole frame.
TEST_F(UsbHidCommandsTest, ConcurrentCallersNeverInterleave) {
    FakeHidTransport::Settings slow;
    slow.callDelay = std::chrono::microseconds(100);
    m_fake.Set(slow);
    UsbHidContext& context = *m_context;
    constexpr int kRounds = 40;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            UsbHidLink::SetKBMsg(context, 'A' + i % 26, InputMessage::kKeyDown);
            UsbHidLink::SetKBMsg(context, 'A' + i % 26, InputMessage::kKeyUp);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            UsbHidLink::SetMouseMsg(context, InputMessage::kMouseMove, i * 100, i * 50);
            UsbHidLink::SetMouseWheelMsg(context, 0, i, i, 120);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            UsbHidLink::SetSystemKey(context);
            UsbHidLink::SearchHid(context);
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds / 4; ++i) {
            UsbHidLink::OpenHid(context); // closes an open handle
            UsbHidLink::SetUSBDiskChange(context, static_cast<uint8_t>(i & 1));
        }
    });
    for (std::thread& t : threads)
        t.join();

    EXPECT_EQ(m_fake.overlaps.load(), 0);
    EXPECT_EQ(m_fake.closedUnderCall.load(), 0);
    std::vector<std::vector<uint8_t>> reports = m_fake.Reports();
    ASSERT_GT(reports.size(), static_cast<size_t>(kRounds));
    for (const std::vector<uint8_t>& report : reports) {
        ASSERT_EQ(report.size(), 64u);
        ASSERT_EQ(report[0], 0);
        ASSERT_EQ(report[1], 0x55);
        const size_t frameLength = report[5] + 6u;
        ASSERT_LE(frameLength, 20u);
        EXPECT_EQ(report[frameLength], HidChecksum(report.data() + 1, frameLength - 1));
    }
}

} // namespace
