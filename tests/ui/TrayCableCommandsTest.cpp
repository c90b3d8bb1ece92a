#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/UsbHidTestSupport.h"
#include "ui/TrayCableCommands.h"

namespace {

// The tray's cable commands over the recording cable. The frames are written out byte by byte: sync
// 55 AA, address 00, command, length 01, the data byte, and the low byte of the sum.
class TrayCableCommandsTest : public UsbHidFixture {
protected:
    std::vector<std::string> Writes() { return m_fake.Events("write"); }
    TrayCableSides m_sides;
};

TEST_F(TrayCableCommandsTest, DiskSideSendsTheSideByteAndStoresTheSideOnSuccess) {
    OpenAndClear();
    m_fake.ScriptRead({0x55, 0xAA, 0x00, 0x81, 0x00, 0x80});
    EXPECT_EQ(TraySetUsbDiskSide(*m_context, m_sides, true, 1), 1);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"write 55 AA 00 01 01 00 01", "read 64 1000"}));
    EXPECT_EQ(m_context->inputReport[3], 0x81) << "the scripted reply was read";
    EXPECT_TRUE(m_sides.diskRemote.load());
    EXPECT_TRUE(LogHas("[HW][USB-DISK] status=0 ret=1"));
    EXPECT_TRUE(LogHas("Tray USB disk side switched uiRemote=1 hwSide=0 rc=1 cachedHid=1"));

    m_fake.ClearEvents();
    EXPECT_EQ(TraySetUsbDiskSide(*m_context, m_sides, false, 1), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"write 55 AA 00 01 01 01 02"}));
    EXPECT_FALSE(m_sides.diskRemote.load());
}

TEST_F(TrayCableCommandsTest, AReplyThatNeverArrivesCostsOnlyTheBoundedWait) {
    OpenAndClear();
    m_fake.ScriptMissingRead();
    EXPECT_EQ(TraySetUsbDiskSide(*m_context, m_sides, true, 1), 1);
    EXPECT_EQ(m_fake.Events("read"), (std::vector<std::string>{"read 64 1000"}));
    EXPECT_TRUE(LogHas("[HID][RECV][TIMEOUT] no reply within 1000 ms"));
    EXPECT_TRUE(m_sides.diskRemote.load());
}

TEST_F(TrayCableCommandsTest, OtherDeviceSideOpensTheLinkAndSendsThePortFrame) {
    EXPECT_EQ(TraySetUsbOtherDeviceSide(*m_context, m_sides, true, 1), 1);
    const std::vector<std::string> steps = Steps();
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.front(), "find");
    EXPECT_EQ(steps.back(), "write 55 AA 00 02 01 00 02");
    EXPECT_TRUE(m_sides.otherDeviceRemote.load());
    EXPECT_TRUE(LogHas("Tray USB other-device side switched uiRemote=1 hwSide=0 rc=1 cachedHid=1"));
}

TEST_F(TrayCableCommandsTest, ALinkThatCannotBeOpenedKeepsTheSide) {
    FakeHidTransport::Settings absent;
    absent.present = false;
    m_fake.Set(absent);
    m_sides.otherDeviceRemote.store(true);
    EXPECT_EQ(TraySetUsbOtherDeviceSide(*m_context, m_sides, false, 1), -1);
    EXPECT_TRUE(m_sides.otherDeviceRemote.load());
    EXPECT_TRUE(LogHas("[HW][USB-PORT] status=1 ret=-1"));
    EXPECT_TRUE(Writes().empty());
}

TEST_F(TrayCableCommandsTest, WithoutTheCableEveryCommandIsOnlyLogged) {
    EXPECT_EQ(TraySetUsbDiskSide(*m_context, m_sides, true, -1), -1);
    EXPECT_EQ(TraySetUsbOtherDeviceSide(*m_context, m_sides, true, 0), -1);
    EXPECT_EQ(TrayDeviceReset(*m_context, -1), -1);
    EXPECT_TRUE(m_fake.Events().empty()) << "the cable is not touched";
    EXPECT_FALSE(m_sides.diskRemote.load());
    EXPECT_TRUE(LogHas("Tray USB disk side ignored: cachedHid=-1"));
    EXPECT_TRUE(LogHas("Tray USB other-device side ignored: cachedHid=0"));
    EXPECT_TRUE(LogHas("Tray device reset ignored: cachedHid=-1"));
}

TEST_F(TrayCableCommandsTest, DeviceResetSendsCommandFiveThenLetsTheCableSettle) {
    OpenAndClear();
    EXPECT_EQ(TrayDeviceReset(*m_context, 1), 1);
    EXPECT_EQ(Steps(), Concat({"write 55 AA 00 05 01 01 06", "read 64 1000", "sleep 1000"}, ResetSteps()));
    EXPECT_TRUE(LogHas("[HW][RESET] ret=1"));
    EXPECT_TRUE(LogHas("Tray device reset rc=1"));
}

TEST_F(TrayCableCommandsTest, CtrlAltDelFollowsTheKeyboardDefaultsAfterItsPause) {
    OpenAndClear();
    m_fake.ScriptMissingRead(); // the keyboard-defaults reply does not come
    EXPECT_EQ(TraySendCtrlAltDel(*m_context), 1);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"write 55 AA 00 06 01 01 07", "read 64 1000", "sleep 1000",
                                                 "sleep 80", KeyWrite(0x05, 76), "sleep 10",
                                                 KeyWrite(0x05, 0), KeyWrite(0x00, 0)}));
    EXPECT_TRUE(LogHas("[HW][KB-DEFAULT] ret=1"));
    EXPECT_TRUE(LogHas("Tray send Ctrl+Alt+Del SetUSBKBDefault rc=1"));
    EXPECT_TRUE(LogHas("[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID"));
}

TEST_F(TrayCableCommandsTest, KeyboardDefaultReportsAFailedWrite) {
    OpenAndClear();
    FakeHidTransport::Settings failing;
    failing.writeStatus = HidIoStatus::Failed;
    m_fake.Set(failing);
    EXPECT_EQ(TrayKeyboardDefault(*m_context), -1);
    EXPECT_TRUE(LogHas("[HW][KB-DEFAULT] ret=-1"));
    EXPECT_TRUE(m_fake.Events("sleep").empty()) << "no settle pause after a failed send";
}

} // namespace
