#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/Log.h"
#include "support/LoggedTest.h"
#include "support/TestLog.h"
#include "transfer/ClipboardWatchRules.h"

namespace {

struct ContentCase {
    const char* name;
    bool paths, image, text;
    ClipboardContent content;
};

class ClipboardWatchPrecedence : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ClipboardWatchPrecedence, FilesThenImageThenText) {
    const ContentCase& c = GetParam();
    EXPECT_EQ(ChooseClipboardContent(c.paths, c.image, c.text), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchPrecedence,
    ::testing::Values(ContentCase{"Nothing", false, false, false, ClipboardContent::None},
                      ContentCase{"TextOnly", false, false, true, ClipboardContent::Text},
                      ContentCase{"ImageOnly", false, true, false, ClipboardContent::Image},
                      ContentCase{"ImageOverText", false, true, true, ClipboardContent::Image},
                      ContentCase{"FilesOverText", true, false, true, ClipboardContent::Files},
                      ContentCase{"FilesOverAll", true, true, true, ClipboardContent::Files}),
    [](const auto& info) { return info.param.name; });

struct KindCase {
    const char* name;
    ClipboardContent content;
    int32_t role;
    ClipboardKind kind;
};

class ClipboardWatchRecordKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(ClipboardWatchRecordKind, ByRole) {
    const KindCase& c = GetParam();
    EXPECT_EQ(LocalCopyKind(c.content, c.role), c.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchRecordKind,
    ::testing::Values(KindCase{"TextOnController", ClipboardContent::Text, 1, ClipboardKind::LocalText},
                      KindCase{"TextOnControlled", ClipboardContent::Text, 2, ClipboardKind::RemoteText},
                      KindCase{"TextWithoutRole", ClipboardContent::Text, 0, ClipboardKind::LocalText},
                      KindCase{"ImageOnController", ClipboardContent::Image, 1, ClipboardKind::LocalImage},
                      KindCase{"ImageOnControlled", ClipboardContent::Image, 2, ClipboardKind::RemoteImage},
                      KindCase{"ImageWhileSwitching", ClipboardContent::Image, 3, ClipboardKind::LocalImage},
                      KindCase{"FilesOnControlled", ClipboardContent::Files, 2, ClipboardKind::LocalFiles},
                      KindCase{"FilesOnController", ClipboardContent::Files, 1, ClipboardKind::LocalFiles},
                      KindCase{"Nothing", ClipboardContent::None, 2, ClipboardKind::None}),
    [](const auto& info) { return info.param.name; });

struct EchoCase {
    const char* name;
    uint32_t now, deadline;
    bool guarded;
};

class ClipboardWatchEchoGuard : public ::testing::TestWithParam<EchoCase> {};

TEST_P(ClipboardWatchEchoGuard, IgnoresOnlyTheUpdateJustAfterAWrite) {
    const EchoCase& c = GetParam();
    EXPECT_EQ(IsEchoGuarded(c.now, c.deadline), c.guarded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchEchoGuard,
    ::testing::Values(EchoCase{"RightAfterWrite", 5000, 6000, true},
                      EchoCase{"LastMillisecond", 5999, 6000, true},
                      EchoCase{"AtDeadline", 6000, 6000, false}, EchoCase{"AfterDeadline", 6001, 6000, false},
                      EchoCase{"AcrossTickWrap", 0xFFFFFF00u, 0x2E8u, true},
                      EchoCase{"PastAcrossTickWrap", 0x2E9u, 0x2E8u, false},
                      // The initial deadline 0 once the tick passed 2^31 (24.9 days of uptime).
                      EchoCase{"InitialDeadlineLateTick", 0x80000005u, 0, false},
                      // A deadline set 25 days ago looks ahead by a signed difference.
                      EchoCase{"StaleDeadlineAfterDays", 6000u + 0x80000001u, 6000, false}),
    [](const auto& info) { return info.param.name; });

TEST(ClipboardWatchSizes, FormatBlockBetweenOneByteAnd64MiB) {
    EXPECT_FALSE(ClipboardFormatSizeAllowed(0));
    EXPECT_TRUE(ClipboardFormatSizeAllowed(1));
    EXPECT_TRUE(ClipboardFormatSizeAllowed(67108864));
    EXPECT_FALSE(ClipboardFormatSizeAllowed(67108865));
}

TEST(ClipboardWatchSizes, SendsAtMostWhatThePeerAccepts) {
    EXPECT_TRUE(ClipboardSendSizeAllowed(16777216));
    EXPECT_FALSE(ClipboardSendSizeAllowed(16777217));
    EXPECT_FALSE(ClipboardSendSizeAllowed(67108864));
}

struct BitmapCase {
    const char* name;
    int32_t width, height;
    uint64_t bytes;
    bool allowed;
};

class ClipboardWatchBitmapSize : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(ClipboardWatchBitmapSize, HeaderAndPixelsIn64Bits) {
    const BitmapCase& c = GetParam();
    const uint64_t bytes = BitmapDibBytes(c.width, c.height);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(ClipboardFormatSizeAllowed(bytes), c.allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchBitmapSize,
    ::testing::Values(BitmapCase{"OnePixel", 1, 1, 44, true},
                      BitmapCase{"Largest4096x4095", 4096, 4095, 67092520, true},
                      BitmapCase{"TooLarge4096x4096", 4096, 4096, 67108904, false},
                      // 32-bit arithmetic would wrap this to a small, allowed size.
                      BitmapCase{"WrapsIn32Bits", 65536, 16384, 40 + 4294967296ull, false},
                      BitmapCase{"Int32Max", INT_MAX, INT_MAX, 40 + 4ull * INT_MAX* INT_MAX, false},
                      BitmapCase{"ZeroWidth", 0, 10, 0, false},
                      BitmapCase{"NegativeHeight", 10, -10, 0, false}),
    [](const auto& info) { return info.param.name; });

std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
    std::vector<uint8_t> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

struct TextCase {
    const char* name;
    std::vector<uint8_t> block;
    size_t units;
};

class ClipboardWatchTextUnits : public ::testing::TestWithParam<TextCase> {};

TEST_P(ClipboardWatchTextUnits, StopAtNulInsideTheBlock) {
    const TextCase& c = GetParam();
    // A copy of exactly the block's size: a search past its end shows as an ASan error.
    std::vector<uint8_t> block(c.block);
    EXPECT_EQ(ClipboardTextUnits(block.empty() ? nullptr : block.data(), block.size()), c.units);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchTextUnits,
    ::testing::Values(TextCase{"Terminated", Utf16Bytes(std::u16string(u"ab\0cd", 5)), 2},
                      TextCase{"OnlyTerminator", Utf16Bytes(std::u16string(1, u'\0')), 0},
                      TextCase{"Unterminated", Utf16Bytes(u"abc"), 3},
                      TextCase{"OddLastByte", {'a', 0, 'b', 0, 'c'}, 2},
                      // Zero bytes that straddle two units are no terminator.
                      TextCase{"ZeroBytesAcrossUnits", {'a', 0, 0, 'b'}, 2}, TextCase{"EmptyBlock", {}, 0},
                      TextCase{"SingleByte", {'a'}, 0}),
    [](const auto& info) { return info.param.name; });

TEST(ClipboardWatchTextUnits, PayloadCarriesOneTerminator) {
    EXPECT_EQ(ClipboardTextPayloadBytes(0), 2u);
    EXPECT_EQ(ClipboardTextPayloadBytes(3), 8u);
    // The largest text that still goes: 8,388,607 units and the terminator.
    EXPECT_TRUE(ClipboardSendSizeAllowed(ClipboardTextPayloadBytes(8388607)));
    EXPECT_FALSE(ClipboardSendSizeAllowed(ClipboardTextPayloadBytes(8388608)));
}

struct NameCase {
    const char* name;
    std::u16string text;
    std::u16string path;
};

class ClipboardWatchFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ClipboardWatchFileName, TrimsBlanksThenOneQuotePair) {
    const NameCase& c = GetParam();
    EXPECT_EQ(std::u16string(TrimClipboardFileName(c.text)), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchFileName,
    ::testing::Values(NameCase{"Plain", u"C:\\a\\b.txt", u"C:\\a\\b.txt"},
                      NameCase{"Blanks", u" \t\r\nC:\\a b.txt \r\n", u"C:\\a b.txt"},
                      NameCase{"DoubleQuotes", u"  \"C:\\a b\\c.txt\"\r\n", u"C:\\a b\\c.txt"},
                      NameCase{"SingleQuotes", u"'C:\\c.txt'", u"C:\\c.txt"},
                      NameCase{"OnlyOnePairStripped", u"\"\"C:\\c.txt\"\"", u"\"C:\\c.txt\""},
                      NameCase{"MismatchedQuotesKept", u"\"C:\\c.txt'", u"\"C:\\c.txt'"},
                      NameCase{"LoneQuoteKept", u"\"", u"\""}, NameCase{"EmptyPair", u"\"\"", u""},
                      NameCase{"CutAtNul", std::u16string(u"C:\\x.txt\0junk", 13), u"C:\\x.txt"},
                      NameCase{"OnlyBlanks", u" \t ", u""}),
    [](const auto& info) { return info.param.name; });

TEST(ClipboardWatchFileOffer, WaitsWhileTheClipboardIsTheOneOfTheCtrlC) {
    EXPECT_TRUE(ClipboardUnchangedSinceCtrlC(41, 41));
    EXPECT_FALSE(ClipboardUnchangedSinceCtrlC(41, 42));
    EXPECT_FALSE(ClipboardUnchangedSinceCtrlC(0, 0)) << "no Ctrl+C recorded";
}

struct OfferCase {
    const char* name;
    bool cut, fileFormat, text, image, havePaths;
    FileOfferStep step;
};

class ClipboardWatchFileOfferStep : public ::testing::TestWithParam<OfferCase> {};

TEST_P(ClipboardWatchFileOfferStep, CopiesOfFilesOnly) {
    const OfferCase& c = GetParam();
    EXPECT_EQ(DecideFileOffer(c.cut, c.fileFormat, c.text, c.image, c.havePaths), c.step);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardWatchFileOfferStep,
    ::testing::Values(OfferCase{"FilesWithPaths", false, true, false, false, true, FileOfferStep::Offer},
                      OfferCase{"FilesBesideText", false, true, true, true, true, FileOfferStep::Offer},
                      OfferCase{"CutFiles", true, true, false, false, true, FileOfferStep::IgnoreCut},
                      OfferCase{"CutWithoutPaths", true, true, false, false, false, FileOfferStep::IgnoreCut},
                      OfferCase{"FilesWithoutPaths", false, true, false, false, false,
                                FileOfferStep::UseSelection},
                      OfferCase{"Text", false, false, true, false, false, FileOfferStep::TextNoOffer},
                      OfferCase{"TextAndImage", false, false, true, true, false, FileOfferStep::TextNoOffer},
                      OfferCase{"Image", false, false, false, true, false, FileOfferStep::ImageNoOffer},
                      OfferCase{"Empty", false, false, false, false, false, FileOfferStep::NothingYet}),
    [](const auto& info) { return info.param.name; });

// The probe's world on a clock that moves only when the probe sleeps.
class ScriptedProbe final : public IOfferProbeSteps {
public:
    uint32_t now = 0;
    int sendsAtAttempt = 0; // 0: never
    int textAtAttempt = 0;  // the clipboard holds text from this attempt on
    int stopsAtAttempt = 0; // the channel stops before this attempt
    int attempts = 0;       // offers tried
    std::vector<uint32_t> attemptTicks;

    bool MayContinue() override { return stopsAtAttempt == 0 || attempts + 1 < stopsAtAttempt; }
    bool BecameTextOrImage() override { return textAtAttempt != 0 && attempts + 1 >= textAtAttempt; }
    bool TrySendOffer() override {
        ++attempts;
        attemptTicks.push_back(now);
        return attempts == sendsAtAttempt;
    }
    void Sleep(uint32_t ms) override { now += ms; }
};

using ClipboardWatchOfferProbe = LoggedTest;

const char kProbeGaveUp[] = "Remote CF_HDROP offer probe timed out/canceled; no file list available";
const char kProbeTextCanceled[] = "[CLIPFILE][HOTKEY] offer probe canceled: clipboard became text/image";

TEST_F(ClipboardWatchOfferProbe, TwentyAttemptsEightyMillisecondsApart) {
    ScriptedProbe probe;
    EXPECT_EQ(RunOfferProbe(probe), OfferProbeEnd::RanOut);
    EXPECT_EQ(probe.attempts, 20);
    ASSERT_EQ(probe.attemptTicks.size(), 20u);
    for (size_t i = 1; i < probe.attemptTicks.size(); ++i)
        EXPECT_EQ(probe.attemptTicks[i] - probe.attemptTicks[i - 1], 80u) << "attempt " << i;
    EXPECT_EQ(probe.now, 19u * 80u);
    EXPECT_EQ(TestLog().Messages(), std::vector<std::string>{kProbeGaveUp});
}

TEST_F(ClipboardWatchOfferProbe, EndsAtTheFirstSentOffer) {
    ScriptedProbe probe;
    probe.sendsAtAttempt = 3;
    EXPECT_EQ(RunOfferProbe(probe), OfferProbeEnd::Sent);
    EXPECT_EQ(probe.attempts, 3);
    EXPECT_EQ(probe.now, 160u);
    EXPECT_TRUE(TestLog().Messages().empty());
}

TEST_F(ClipboardWatchOfferProbe, TextOrImageCancelsBeforeTheNextOffer) {
    ScriptedProbe probe;
    probe.textAtAttempt = 4;
    EXPECT_EQ(RunOfferProbe(probe), OfferProbeEnd::TextOrImage);
    EXPECT_EQ(probe.attempts, 3);
    EXPECT_EQ(TestLog().Messages(), (std::vector<std::string>{kProbeTextCanceled, kProbeGaveUp}));
}

TEST_F(ClipboardWatchOfferProbe, StoppedChannelEndsQuietly) {
    ScriptedProbe probe;
    probe.stopsAtAttempt = 2;
    EXPECT_EQ(RunOfferProbe(probe), OfferProbeEnd::Stopped);
    EXPECT_EQ(probe.attempts, 1);
    EXPECT_TRUE(TestLog().Messages().empty());
}

TEST(ClipboardWatchOfferProbeStart, AtLeast120MillisecondsApart) {
    EXPECT_FALSE(OfferProbeMayStart(10119, 10000));
    EXPECT_TRUE(OfferProbeMayStart(10120, 10000));
    EXPECT_FALSE(OfferProbeMayStart(50, 0xFFFFFFF0u)); // 66 ms across the tick wrap
    EXPECT_TRUE(OfferProbeMayStart(104, 0xFFFFFFF0u)); // 120 ms across the tick wrap
}

// The channel's world on a clock that moves only when the wait sleeps.
class ScriptedChannel final : public IChannelWait {
public:
    uint32_t now = 0xFFFFF000u; // the wait spans the tick wrap
    uint32_t connectsAfter = UINT32_MAX;
    uint32_t stopsAfter = UINT32_MAX;
    bool clockStands = false;
    int sleeps = 0;

    bool Running() override { return Elapsed() < stopsAfter; }
    bool Connected() override { return Elapsed() >= connectsAfter; }
    uint32_t NowTick() override { return now; }
    void Sleep(uint32_t ms) override {
        ++sleeps;
        if (!clockStands)
            now += ms;
    }

private:
    uint32_t Elapsed() const { return now - 0xFFFFF000u; }
};

TEST(ClipboardWatchDropWait, ReturnsOnceConnected) {
    ScriptedChannel channel;
    channel.connectsAfter = 2500;
    EXPECT_EQ(WaitForChannelConnection(channel), 2500u);
    EXPECT_EQ(channel.sleeps, 25);
}

TEST(ClipboardWatchDropWait, AlreadyConnectedDoesNotSleep) {
    ScriptedChannel channel;
    channel.connectsAfter = 0;
    EXPECT_EQ(WaitForChannelConnection(channel), 0u);
    EXPECT_EQ(channel.sleeps, 0);
}

TEST(ClipboardWatchDropWait, GivesUpAfterSixtySeconds) {
    ScriptedChannel channel;
    EXPECT_EQ(WaitForChannelConnection(channel), 60000u);
    EXPECT_EQ(channel.sleeps, 600);
    EXPECT_FALSE(channel.Connected());
}

TEST(ClipboardWatchDropWait, StoppedChannelEndsTheWait) {
    ScriptedChannel channel;
    channel.stopsAfter = 1000;
    EXPECT_EQ(WaitForChannelConnection(channel), 1000u);
}

TEST(ClipboardWatchDropWait, StandingClockStillEnds) {
    ScriptedChannel channel;
    channel.clockStands = true;
    EXPECT_EQ(WaitForChannelConnection(channel), 0u);
    EXPECT_EQ(channel.sleeps, 600);
}

} // namespace
