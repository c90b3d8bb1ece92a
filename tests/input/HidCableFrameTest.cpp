#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "input/HidCableFrame.h"
#include "input/HidOutputReport.h"
#include "input/HidUsageTable.h"

namespace {

std::vector<uint8_t> Bytes(const HidCableFrame& frame) {
    return {frame.bytes.begin(), frame.bytes.begin() + static_cast<std::ptrdiff_t>(frame.length)};
}

uint8_t SumLowByte(const std::vector<uint8_t>& bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    return static_cast<uint8_t>(sum);
}

struct FrameCase {
    const char* name;
    HidCableFrame frame;
    std::vector<uint8_t> bytes;
};

class HidCableFrameGolden : public ::testing::TestWithParam<FrameCase> {};

TEST_P(HidCableFrameGolden, Bytes) {
    EXPECT_EQ(Bytes(GetParam().frame), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HidCableFrameGolden,
    ::testing::Values(
        FrameCase{"DiskSide0",
                  BuildOneByteFrame(HidCableCommand::UsbDiskSwitch, 0),
                  {0x55, 0xAA, 0x00, 0x01, 0x01, 0x00, 0x01}},
        FrameCase{"DiskSide1",
                  BuildOneByteFrame(HidCableCommand::UsbDiskSwitch, 1),
                  {0x55, 0xAA, 0x00, 0x01, 0x01, 0x01, 0x02}},
        FrameCase{"PortSide1",
                  BuildOneByteFrame(HidCableCommand::UsbPortSwitch, 1),
                  {0x55, 0xAA, 0x00, 0x02, 0x01, 0x01, 0x03}},
        FrameCase{"HardwareReset",
                  BuildOneByteFrame(HidCableCommand::UsbHardwareReset, 1),
                  {0x55, 0xAA, 0x00, 0x05, 0x01, 0x01, 0x06}},
        FrameCase{"KeyboardDefault",
                  BuildOneByteFrame(HidCableCommand::KeyboardDefault, 1),
                  {0x55, 0xAA, 0x00, 0x06, 0x01, 0x01, 0x07}},
        // Outer checksum: 0x55+0xAA+0x03+0x0E = 0x110, plus the inner bytes (0x110 + 0x10) = 0x230.
        FrameCase{"KeyADown", BuildKeyboardFrame(0x00, 0x04), {0x55, 0xAA, 0x00, 0x03, 0x0E, 0x57, 0xAB,
                                                               0x00, 0x02, 0x08, 0x00, 0x00, 0x04, 0x00,
                                                               0x00, 0x00, 0x00, 0x00, 0x10, 0x30}},
        FrameCase{"CtrlC", BuildKeyboardFrame(0x01, 0x06), {0x55, 0xAA, 0x00, 0x03, 0x0E, 0x57, 0xAB,
                                                            0x00, 0x02, 0x08, 0x01, 0x00, 0x06, 0x00,
                                                            0x00, 0x00, 0x00, 0x00, 0x13, 0x36}},
        // x 0x1234 -> 34 12, y 0x0800 -> 00 08, wheel -1 -> FF.
        FrameCase{"MouseLeftWheelUp",
                  BuildMouseFrame(0x01, 0x1234, 0x0800, -1),
                  {0x55, 0xAA, 0x00, 0x04, 0x0D, 0x57, 0xAB, 0x00, 0x04, 0x07, 0x02, 0x01, 0x34, 0x12, 0x00,
                   0x08, 0xFF, 0x5D, 0xCA}},
        FrameCase{"MouseKeepsLow16Bits",
                  BuildMouseFrame(0x00, 0x12345, -1, 0),
                  {0x55, 0xAA, 0x00, 0x04, 0x0D, 0x57, 0xAB, 0x00, 0x04, 0x07, 0x02, 0x00, 0x45, 0x23, 0xFF,
                   0xFF, 0x00, 0x75, 0xFA}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

TEST(HidCableFrame, EveryChecksumIsTheLowByteOfTheSumBeforeIt) {
    for (const HidCableFrame& frame : {BuildKeyboardFrame(0x0F, 0xFF), BuildMouseFrame(0x07, 4096, 4096, 127),
                                       BuildOneByteFrame(HidCableCommand::UsbPortSwitch, 0xFF)}) {
        std::vector<uint8_t> bytes = Bytes(frame);
        ASSERT_GE(bytes.size(), 7u);
        EXPECT_EQ(bytes.back(), SumLowByte({bytes.begin(), bytes.end() - 1}));
        if (bytes.size() > 7) {
            std::vector<uint8_t> inner(bytes.begin() + 5, bytes.end() - 1);
            EXPECT_EQ(inner.back(), SumLowByte({inner.begin(), inner.end() - 1})) << "inner checksum";
        }
    }
}

struct WheelCase {
    const char* name;
    int32_t delta;
    int8_t wheel;
};

class HidWheelByteTable : public ::testing::TestWithParam<WheelCase> {};

TEST_P(HidWheelByteTable, Maps) {
    EXPECT_EQ(HidWheelByte(GetParam().delta), GetParam().wheel);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HidWheelByteTable,
    ::testing::Values(WheelCase{"TwoNotches", 240, 2}, WheelCase{"HalfNotchUp", 60, 1},
                      WheelCase{"PartNotchDown", -30, -1}, WheelCase{"ClampedUp", 200 * 120, 127},
                      WheelCase{"ClampedDown", -200 * 120, -127}, WheelCase{"Zero", 0, 0},
                      WheelCase{"TruncatesTowardZero", 359, 2},
                      WheelCase{"TruncatesTowardZeroDown", -359, -2}, WheelCase{"JustBelowANotch", 119, 1},
                      WheelCase{"IntMinDoesNotOverflow", INT32_MIN, -127},
                      WheelCase{"IntMax", INT32_MAX, 127}),
    [](const ::testing::TestParamInfo<WheelCase>& info) { return std::string(info.param.name); });

struct UsageCase {
    const char* name;
    uint32_t vk;
    uint8_t usage;
};

class VkToHidUsageTable : public ::testing::TestWithParam<UsageCase> {};

TEST_P(VkToHidUsageTable, Maps) {
    EXPECT_EQ(VkToHidUsage(GetParam().vk), GetParam().usage);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VkToHidUsageTable,
    ::testing::Values(UsageCase{"A", 'A', 4}, UsageCase{"Z", 'Z', 29}, UsageCase{"One", '1', 30},
                      UsageCase{"Nine", '9', 38}, UsageCase{"Zero", '0', 39}, UsageCase{"Keypad1", 0x61, 89},
                      UsageCase{"Keypad9", 0x69, 97}, UsageCase{"Keypad0", 0x60, 98},
                      UsageCase{"F1", 0x70, 58}, UsageCase{"F12", 0x7B, 69},
                      UsageCase{"F13IsNotPrintScreen", 0x7C, 104}, UsageCase{"F14Unmapped", 0x7D, 0},
                      UsageCase{"PrintScreen", 0x2C, 70}, UsageCase{"Backspace", 0x08, 42},
                      UsageCase{"Enter", 0x0D, 40}, UsageCase{"Esc", 0x1B, 41}, UsageCase{"Delete", 0x2E, 76},
                      UsageCase{"Left", 0x25, 80}, UsageCase{"Down", 0x28, 81},
                      UsageCase{"Separator", 0x6C, 133}, UsageCase{"KeypadDivide", 0x6F, 84},
                      UsageCase{"NumLock", 0x90, 83}, UsageCase{"ScrollLock", 0x91, 71},
                      UsageCase{"Apps", 0x5D, 101}, UsageCase{"OemSemicolon", 0xBA, 51},
                      UsageCase{"OemQuote", 0xDE, 52}, UsageCase{"OemBackslash", 0xDC, 49},
                      UsageCase{"ShiftIsAModifier", 16, 0}, UsageCase{"CtrlIsAModifier", 17, 0},
                      UsageCase{"LeftWinIsAModifier", 91, 0}, UsageCase{"RightAlt", 165, 0},
                      UsageCase{"LowercaseCodeIsNotALetter", 'a' + 0x80, 0},
                      UsageCase{"Beyond255", 0x141, 0}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

struct FitCase {
    const char* name;
    uint32_t deviceLength;
    HidReportFit fit;
};

class HidOutputReportFit : public ::testing::TestWithParam<FitCase> {};

// A keyboard frame needs 21 bytes with the report id; the buffer holds 1024.
TEST_P(HidOutputReportFit, KeyboardFrame) {
    EXPECT_EQ(CheckOutputReportLength(GetParam().deviceLength, 1024, BuildKeyboardFrame(0, 4)),
              GetParam().fit);
}

INSTANTIATE_TEST_SUITE_P(Table, HidOutputReportFit,
                         ::testing::Values(FitCase{"Zero", 0, HidReportFit::ShorterThanFrame},
                                           FitCase{"OneShort", 20, HidReportFit::ShorterThanFrame},
                                           FitCase{"Exact", 21, HidReportFit::Fits},
                                           FitCase{"Usual", 64, HidReportFit::Fits},
                                           FitCase{"WholeBuffer", 1024, HidReportFit::Fits},
                                           FitCase{"PastBuffer", 1025, HidReportFit::LongerThanBuffer},
                                           FitCase{"Huge", 0xFFFFFFFFu, HidReportFit::LongerThanBuffer}),
                         [](const ::testing::TestParamInfo<FitCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(HidOutputReport, ReportIdZeroThenTheFrameThenZerosOverOldContent) {
    uint8_t report[64];
    std::fill(std::begin(report), std::end(report), 0xEE);
    HidCableFrame frame = BuildOneByteFrame(HidCableCommand::UsbDiskSwitch, 1);
    AssembleOutputReport(report, 32, frame);
    EXPECT_EQ(report[0], 0x00);
    EXPECT_EQ(std::vector<uint8_t>(report + 1, report + 8), Bytes(frame));
    for (int i = 8; i < 32; ++i)
        EXPECT_EQ(report[i], 0x00) << "byte " << i;
    EXPECT_EQ(report[32], 0xEE) << "nothing past the report length is touched";
}

} // namespace
