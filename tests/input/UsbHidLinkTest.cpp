#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "core/StallScope.h"
#include "input/InputMessages.h"
#include "input/UsbHidTestSupport.h"

namespace {

const std::string kPath = "\\\\?\\hid#vid_35e6&pid_2402#fake";

using UsbHidLinkTest = UsbHidFixture;

TEST_F(UsbHidLinkTest, TheFirstKeyOpensTheDeviceAndResetsTheKeyboardBeforeItIsSent) {
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), 1);

    EXPECT_EQ(Steps(), Concat(Concat({"find", "open " + kPath}, ResetSteps()), {KeyWrite(0x00, 4)}));
    EXPECT_STREQ(m_context->devicePath, kPath.c_str());
    EXPECT_EQ(m_context->outputReportLength, 1024u);
    EXPECT_TRUE(LogHas("[HID][OPEN] path=" + kPath));
}

TEST_F(UsbHidLinkTest, WithoutTheCableEveryCallSearchesAgainAndWritesNothing) {
    FakeHidTransport::Settings absent;
    absent.present = false;
    m_fake.Set(absent);

    EXPECT_EQ(UsbHidLink::SearchHid(*m_context), -1);
    EXPECT_EQ(UsbHidLink::OpenHid(*m_context), -1);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), -1);
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kLButtonDown, 10, 10), -1);
    EXPECT_EQ(UsbHidLink::SetMouseWheelMsg(*m_context, 0, 10, 10, 120), -1);
    EXPECT_EQ(UsbHidLink::SetSystemKey(*m_context), -1);
    EXPECT_EQ(UsbHidLink::SetUSBDiskChange(*m_context, 1), -1);
    EXPECT_EQ(UsbHidLink::SetUSBPORTChange(*m_context, 1), -1);
    EXPECT_EQ(UsbHidLink::SetUSBHardWareReset(*m_context), -1);
    EXPECT_EQ(UsbHidLink::SetUSBKBDefault(*m_context), -1);

    EXPECT_EQ(Steps(), std::vector<std::string>(10, "find")) << "no pause, no read, no write";
    EXPECT_FALSE(UsbHidLink::IsOpen(*m_context));
}

TEST_F(UsbHidLinkTest, ModifierSlotsFollowTheGenericModifierKeys) {
    OpenAndClear();
    struct Step {
        uint32_t vk, msg;
        uint8_t modifiers, usage;
    };
    const Step steps[] = {
        {InputVk::kCtrl, InputMessage::kKeyDown, 0x01, 0},
        {'C', InputMessage::kKeyDown, 0x01, 6},
        {'C', InputMessage::kKeyUp, 0x01, 0},
        {InputVk::kCtrl, InputMessage::kKeyUp, 0x00, 0},
        {'C', InputMessage::kKeyDown, 0x00, 6},
        {InputVk::kAlt, InputMessage::kSysKeyDown, 0x04, 0},
        {InputVk::kShift, InputMessage::kKeyDown, 0x06, 0},
        {0x73 /* F4 */, InputMessage::kSysKeyDown, 0x06, 61},
        {InputVk::kAlt, InputMessage::kSysKeyUp, 0x02, 0},
        {InputVk::kLeftWin, InputMessage::kKeyDown, 0x0A, 0},
        {162 /* left Ctrl */, InputMessage::kKeyDown, 0x0A, 0},
        {InputVk::kShift, 0x0102 /* WM_CHAR */, 0x0A, 0},
        {InputVk::kLeftWin, InputMessage::kKeyUp, 0x02, 0},
    };
    std::vector<std::string> expected;
    for (const Step& s : steps) {
        EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, s.vk, s.msg), 1);
        expected.push_back(KeyWrite(s.modifiers, s.usage));
    }
    EXPECT_EQ(Steps(), expected);
}

// Opening resets the key state; a modifier pressed by the call that opens the device still counts.
TEST_F(UsbHidLinkTest, AModifierPressedByTheOpeningCallIsKept) {
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, InputVk::kCtrl, InputMessage::kKeyDown), 1);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'C', InputMessage::kKeyDown), 1);
    std::vector<std::string> writes = m_fake.Events("write");
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 2], KeyWrite(0x01, 0));
    EXPECT_EQ(writes.back(), KeyWrite(0x01, 6));
}

TEST_F(UsbHidLinkTest, MouseMessagesSetAndClearTheirButtonsAndSendTheLow16BitsOfThePoint) {
    OpenAndClear();
    struct Step {
        uint32_t msg;
        int32_t x, y;
        uint8_t buttons;
    };
    const Step steps[] = {
        {InputMessage::kMouseMove, 100, 200, 0x00},    {InputMessage::kLButtonDown, 100, 200, 0x01},
        {InputMessage::kRButtonDblClk, 4096, 0, 0x03}, {InputMessage::kLButtonUp, 4096, 0, 0x02},
        {InputMessage::kMButtonDblClk, 7, 8, 0x06},    {InputMessage::kMouseMove, 0x10005, -1, 0x06},
        {InputMessage::kRButtonUp, 1, 1, 0x04},        {InputMessage::kMButtonUp, 1, 1, 0x00},
        {InputMessage::kLButtonDblClk, 2, 2, 0x01},    {InputMessage::kMButtonDown, 2, 2, 0x05},
        {InputMessage::kRButtonDown, 3, 3, 0x07},
    };
    std::vector<std::string> expected;
    for (const Step& s : steps) {
        EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, s.msg, s.x, s.y), 1);
        expected.push_back(MouseWrite(s.buttons, s.x, s.y));
    }
    EXPECT_EQ(Steps(), expected);
}

TEST_F(UsbHidLinkTest, AnUnknownMouseMessageIsRefusedAndNothingIsWritten) {
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, 0x20A, 10, 10), -1);
    EXPECT_TRUE(m_fake.Events().empty()) << "not even a search";
    OpenAndClear();
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, 0x20A, 10, 10), -1);
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, 0x1FF, 10, 10), -1);
    EXPECT_TRUE(m_fake.Events().empty());
}

TEST_F(UsbHidLinkTest, AButtonPressedByTheOpeningCallIsKept) {
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kLButtonDown, 5, 6), 1);
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kMouseMove, 50, 60), 1);
    std::vector<std::string> writes = m_fake.Events("write");
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 2], MouseWrite(0x01, 5, 6));
    EXPECT_EQ(writes.back(), MouseWrite(0x01, 50, 60)) << "the drag goes on";
}

TEST_F(UsbHidLinkTest, TheWheelCarriesTheHeldButtonsAndWritesItsDebugText) {
    OpenAndClear();
    ASSERT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kLButtonDown, 100, 200), 1);
    EXPECT_EQ(UsbHidLink::SetMouseWheelMsg(*m_context, 0x20A, 300, 400, 240), 1);
    EXPECT_EQ(UsbHidLink::SetMouseWheelMsg(*m_context, 0, 300, 400, -30), 1);

    EXPECT_EQ(m_fake.Events("write"),
              (std::vector<std::string>{MouseWrite(0x01, 100, 200), MouseWrite(0x01, 300, 400, 2),
                                        MouseWrite(0x01, 300, 400, -1)}));
    EXPECT_EQ(m_fake.DebugTexts(),
              (std::vector<std::string>{"SetMouseWheelMsg: m_CurrX 100=300,m_CurrY 200=400[1 0 0 ]-[2]\n",
                                        "SetMouseWheelMsg: m_CurrX 300=300,m_CurrY 400=400[1 0 0 ]-[FF]\n"}));
}

TEST_F(UsbHidLinkTest, APathThatFitsIsKeptAndALongerOneIsRefusedWhole) {
    FakeHidTransport::Settings fits;
    fits.path = std::string(259, 'p');
    m_fake.Set(fits);
    EXPECT_EQ(UsbHidLink::SearchHid(*m_context), 1);
    EXPECT_EQ(std::strlen(m_context->devicePath), 259u);

    FakeHidTransport::Settings tooLong;
    tooLong.path = std::string(260, 'q');
    m_fake.Set(tooLong);
    m_fake.ClearEvents();
    EXPECT_EQ(UsbHidLink::SearchHid(*m_context), -1);
    EXPECT_EQ(UsbHidLink::OpenHid(*m_context), -1);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"find", "find"})) << "nothing is opened";
    EXPECT_EQ(m_context->devicePath[0], 'p') << "the kept path is not overwritten";
    EXPECT_TRUE(LogHas("[HID][SEARCH][REFUSED] device path of 260 bytes does not fit 259"));
}

TEST_F(UsbHidLinkTest, AFailedOpenStillReturnsOneButIsLoggedAndLeavesNoHandle) {
    FakeHidTransport::Settings failing;
    failing.openFails = true;
    m_fake.Set(failing);

    EXPECT_EQ(UsbHidLink::OpenHid(*m_context), 1);
    EXPECT_FALSE(UsbHidLink::IsOpen(*m_context));
    EXPECT_TRUE(LogHas("[HID][OPEN][FAIL] path=" + kPath + " error=5"));
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), -1);
    EXPECT_TRUE(m_fake.Events("write").empty());
}

TEST_F(UsbHidLinkTest, OpenHidOnAnOpenHandleClosesItAndTheNextCallOpensAgain) {
    OpenAndClear();
    EXPECT_EQ(UsbHidLink::OpenHid(*m_context), -1);
    EXPECT_FALSE(UsbHidLink::IsOpen(*m_context));
    EXPECT_EQ(UsbHidLink::OpenHid(*m_context), 1);
    EXPECT_TRUE(UsbHidLink::IsOpen(*m_context));
    EXPECT_EQ(Steps(), Concat({"close", "find", "open " + kPath}, ResetSteps()));
    UsbHidLink::CloseHid(*m_context);
    EXPECT_FALSE(UsbHidLink::IsOpen(*m_context));
}

struct LengthCase {
    const char* name;
    uint32_t outputLength;
    int result;
};

class UsbHidReportLength : public UsbHidFixture, public ::testing::WithParamInterface<LengthCase> {};

// The keyboard report needs 21 bytes with its report id; the context's buffer holds 1024.
TEST_P(UsbHidReportLength, KeyboardReport) {
    const LengthCase& c = GetParam();
    OpenAndClear();
    FakeHidTransport::Settings s;
    s.lengths = HidReportLengths{64, c.outputLength};
    m_fake.Set(s);

    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), c.result);
    std::vector<std::vector<uint8_t>> reports = m_fake.Reports();
    if (c.result == 1) {
        ASSERT_FALSE(reports.empty());
        const std::vector<uint8_t>& report = reports.back();
        ASSERT_EQ(report.size(), c.outputLength) << "the whole report length is written";
        EXPECT_EQ(report[0], 0x00) << "report id";
        HidCableFrame frame = BuildKeyboardFrame(0, 4);
        EXPECT_TRUE(std::equal(frame.bytes.begin(), frame.bytes.begin() + 20, report.begin() + 1));
        EXPECT_TRUE(std::all_of(report.begin() + 21, report.end(), [](uint8_t b) { return b == 0; }));
    } else {
        EXPECT_TRUE(m_fake.Events("write").empty());
        EXPECT_TRUE(m_fake.Events("prepare").empty());
        EXPECT_TRUE(LogHas("[HID][SEND][REFUSED] output report length " + std::to_string(c.outputLength) +
                           " outside 21..1024 command=3"));
        EXPECT_TRUE(UsbHidLink::IsOpen(*m_context)) << "the handle stays; the device is not at fault";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, UsbHidReportLength,
    ::testing::Values(LengthCase{"Zero", 0, -1}, LengthCase{"OneShort", 20, -1}, LengthCase{"Exact", 21, 1},
                      LengthCase{"Usual", 64, 1}, LengthCase{"WholeBuffer", 1024, 1},
                      LengthCase{"PastTheBuffer", 1025, -1}, LengthCase{"Huge", 0x7FFFFFFF, -1}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

TEST_F(UsbHidLinkTest, LostPreparsedDataClosesTheHandleAndTheNextCallOpensAgain) {
    OpenAndClear();
    FakeHidTransport::Settings noPreparsed;
    noPreparsed.lengths = std::nullopt;
    m_fake.Set(noPreparsed);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), -1);
    EXPECT_FALSE(UsbHidLink::IsOpen(*m_context));
    EXPECT_TRUE(LogHas("[HID][SEND][FAIL] no preparsed data; handle closed"));

    m_fake.Set(FakeHidTransport::Settings{});
    m_fake.ClearEvents();
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'B', InputMessage::kKeyDown), 1);
    EXPECT_EQ(Steps(), Concat(Concat({"find", "open " + kPath}, ResetSteps()), {KeyWrite(0, 5)}));
}

// Opening resets the keyboard with reports of its own; when those fail the reset must not open again
// (which would reset again, without end).
TEST_F(UsbHidLinkTest, ADeviceThatOpensButTakesNoReportDoesNotRecurse) {
    FakeHidTransport::Settings noPreparsed;
    noPreparsed.lengths = std::nullopt;
    m_fake.Set(noPreparsed);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), -1);
    EXPECT_EQ(Steps(),
              (std::vector<std::string>{"find", "open " + kPath, "sleep 200", "close", "sleep 200"}));
}

TEST_F(UsbHidLinkTest, ARefusedPreparationOrAShortOrFailedWriteIsAFailure) {
    OpenAndClear();
    FakeHidTransport::Settings refused;
    refused.prepareOk = false;
    m_fake.Set(refused);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyDown), -1);
    EXPECT_TRUE(m_fake.Events("write").empty());
    EXPECT_TRUE(LogHas("[HID][SEND][FAIL] output report preparation refused command=3"));

    FakeHidTransport::Settings shortWrite;
    shortWrite.writeShortBy = 1;
    m_fake.Set(shortWrite);
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kMouseMove, 1, 1), -1);
    EXPECT_TRUE(LogHas("[HID][SEND][FAIL] command=4 wrote=63 of 64 status=done error=0"));

    TestLog().tick += 100000;
    FakeHidTransport::Settings timedOut;
    timedOut.writeStatus = HidIoStatus::TimedOut;
    m_fake.Set(timedOut);
    EXPECT_EQ(UsbHidLink::SetKBMsg(*m_context, 'A', InputMessage::kKeyUp), -1);
    EXPECT_TRUE(LogHas("[HID][SEND][FAIL] command=3 wrote=0 of 64 status=timeout"));
    EXPECT_TRUE(UsbHidLink::IsOpen(*m_context));
}

TEST_F(UsbHidLinkTest, SendHidDataWithoutAHandleWritesNothing) {
    EXPECT_EQ(UsbHidLink::SendHidData(*m_context, BuildOneByteFrame(HidCableCommand::UsbPortSwitch, 0)), -1);
    EXPECT_EQ(UsbHidLink::RecvHidData(*m_context), -1);
    EXPECT_TRUE(m_fake.Events().empty());
}

TEST_F(UsbHidLinkTest, ResetKeyboardClearsKeysAndButtonsAndReleasesWinAndEsc) {
    OpenAndClear();
    ASSERT_EQ(UsbHidLink::SetKBMsg(*m_context, InputVk::kShift, InputMessage::kKeyDown), 1);
    ASSERT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kRButtonDown, 1, 1), 1);
    m_fake.ClearEvents();

    UsbHidLink::ResetKeyboard(*m_context);
    EXPECT_EQ(Steps(), ResetSteps());
    EXPECT_EQ(UsbHidLink::SetMouseMsg(*m_context, InputMessage::kMouseMove, 2, 2), 1);
    EXPECT_EQ(m_fake.Events("write").back(), MouseWrite(0x00, 2, 2));
}

} // namespace

namespace {

std::atomic<uint64_t> g_stallNow{1000};
uint64_t StallNow() {
    return g_stallNow.load();
}

// The device layer's operations are timed as module "USBHID"; the pauses of the keyboard reset that the
// first key runs make both the key and the open slow.
TEST_F(UsbHidLinkTest, OperationsRunInStallScopesOfTheirOwn) {
    SetStallClock({&StallNow, nullptr});
    UsbHidContext context(
        m_fake, [](uint32_t ms) { g_stallNow += ms; }, nullptr);

    EXPECT_EQ(UsbHidLink::SetKBMsg(context, 'A', InputMessage::kKeyDown), 1);
    EXPECT_EQ(UsbHidLink::SetMouseMsg(context, InputMessage::kMouseMove, 1, 1), 1);
    SetStallClock({});

    std::vector<std::string> slow;
    for (const std::string& line : TestLog().Messages())
        if (line.find("[STALL][SLOW]") != std::string::npos)
            slow.push_back(line.substr(line.find("module=")));
    EXPECT_EQ(slow, (std::vector<std::string>{"module=USBHID op=OpenHid cost=400ms threshold=200ms",
                                              "module=USBHID op=SetKBMsg cost=400ms threshold=50ms"}));
}

} // namespace
