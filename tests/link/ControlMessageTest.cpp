#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "link/ControlMessage.h"
#include "link/ControlMessageRead.h"
#include "link/ControlRequestParams.h"
#include "link/LocalIdentity.h"
#include "support/Utf8Checks.h"

namespace {

using namespace Discovery;

const LocalIdentity kPc{"TSLY-DESK1", "DESK1", "20260827.3"};

std::string Tail() {
    return std::string("cap_uq=1;") + SecondCapabilityKey() + "=1;";
}

TEST(ControlMessageBuild, EveryMessageHasItsExactText) {
    ControlRequestParams request{1920, 1080, 30, 25000000, 1, 7, 1, 1, 9};
    const std::string head = ";id=TSLY-DESK1;name=DESK1;ver=20260827.3;";
    const std::string fields =
        "req_w=1920;req_h=1080;req_fps=30;req_bitrate=25000000;view_hidden=1;view_seq=7;"
        "req_audio=1;req_quality=1;quality_seq=9;";
    struct Case {
        const char* what;
        std::string built;
        std::string expected;
    } cases[] = {
        {"discover", BuildDiscoverMessage(kPc),
         "TSLY_DISCOVER" + head + "video=6000;input=5000;audio=7001;clipboard=5002;control=5003;" + Tail()},
        {"ping", BuildPingMessage(kPc), "TSLY_PING" + head + "end=1;"},
        {"request tcp", BuildControlRequestMessage(kPc, request, ControlTransport::Tcp),
         "TSLY_CONTROL_REQUEST" + head + fields + Tail() + "end=1;"},
        {"request udp", BuildControlRequestMessage(kPc, request, ControlTransport::Udp),
         "TSLY_CONTROL_REQUEST" + head + fields + Tail()},
        {"stop tcp", BuildControlStopMessage(kPc, ControlTransport::Tcp),
         "TSLY_CONTROL_STOP" + head + "end=1;"},
        {"stop udp", BuildControlStopMessage(kPc, ControlTransport::Udp),
         "TSLY_CONTROL_STOP;id=TSLY-DESK1;name=DESK1;"},
        {"visibility", BuildVideoVisibilityMessage(kPc, true, 4294967295u),
         "TSLY_VIDEO_VISIBILITY" + head + "hidden=1;view_seq=4294967295;end=1;"},
        {"quality", BuildVideoQualityMessage(kPc, false, 12),
         "TSLY_VIDEO_QUALITY" + head + "quality=0;quality_seq=12;" + Tail() + "end=1;"},
        {"desktop state", BuildDesktopStateMessage(kPc, true),
         "TSLY_DESKTOP_STATE" + head + "locked=1;end=1;"},
        {"visibility ack", BuildVisibilityAck(5, true),
         "TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=5;accepted=1;end=1;"},
        {"quality ack", BuildQualityAck(6, true, false),
         "TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=6;quality=1;accepted=0;end=1;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.built, c.expected) << c.what;
}

// Every key of the protocol, as senders write them and receivers look for them.
const char* const kProtocolKeys[] = {
    "id",        "name",        "ver",         "video",       "input",       "audio",       "clipboard",
    "control",   "req_w",       "req_h",       "req_fps",     "req_bitrate", "view_hidden", "view_seq",
    "req_audio", "req_quality", "quality_seq", "hidden",      "quality",     "locked",      "verb",
    "accepted",  "end",         "cap_uq",      "hw",          "net",         "ip",          "desktop",
    "display",   "capture",     "video_state", "input_state", "reason"};

TEST(ControlMessageBuild, SecondCapabilityKeyCannotBeConfusedWithAnyOtherKey) {
    std::string second = SecondCapabilityKey();
    ASSERT_FALSE(second.empty());
    for (char c : second)
        EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_') << second;
    for (std::string key : kProtocolKeys) {
        EXPECT_EQ(second.find(key), std::string::npos) << second << " contains " << key;
        EXPECT_EQ(key.find(second), std::string::npos) << key << " contains " << second;
    }
    // Nothing but the key itself is found by its search, even in a message with every other key.
    std::string message = "TSLY_DISCOVER;";
    for (std::string key : kProtocolKeys)
        message += key + "=1;";
    EXPECT_FALSE(FindMessageValue(message, second).has_value());
}

// The 512-byte buffer: with the head taking `headLength` bytes, the ending is written as far as it fits.
TEST(ControlMessageBuild, EndingIsCutWhereTheBufferEnds) {
    const std::string fixed = "TSLY_PING;id=TSLY-X;name=;ver=20260827.3;";
    for (size_t headLength = 500; headLength <= 515; ++headLength) {
        LocalIdentity pc{"TSLY-X", std::string(headLength - fixed.size(), 'n'), "20260827.3"};
        std::string ping = BuildPingMessage(pc);
        ASSERT_LE(ping.size(), 511u) << headLength;
        size_t kept = headLength >= 511 ? 0 : std::min<size_t>(6, 511 - headLength);
        EXPECT_EQ(ping.size(), std::min<size_t>(headLength, 511) + kept) << headLength;
        EXPECT_EQ(ping.substr(std::min<size_t>(headLength, 511)), std::string("end=1;").substr(0, kept))
            << headLength;
    }
}

TEST(ControlMessageBuild, LongNamesAreCutAtCharacterBoundariesAndDropTheTail) {
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xE6\xA1\x8C"; // 桌, three bytes
    LocalIdentity pc{"TSLY-" + name, name, "20260827.3"};
    for (const std::string& text :
         {BuildDiscoverMessage(pc), BuildVideoQualityMessage(pc, true, 1),
          BuildControlRequestMessage(pc, ControlRequestParams{}, ControlTransport::Tcp)}) {
        EXPECT_LE(text.size(), 511u);
        EXPECT_GE(text.size(), 509u);
        EXPECT_TRUE(IsCompleteUtf8(text));
        EXPECT_EQ(text.find("cap_uq"), std::string::npos);
        EXPECT_EQ(text.find("end=1;"), std::string::npos);
    }
}

struct ReadCase {
    const char* text;
    const char* key;
    const char* value; // GetMessageValue
    uint32_t number;   // ReadMessageNumber
    bool flag;         // ReadMessageFlag
};

TEST(ControlMessageRead, ValuesNumbersAndFlagsFollowTheReadingRules) {
    const ReadCase cases[] = {
        // Substring search: "quality=" is found inside "req_quality=" when that stands first.
        {"TSLY_VIDEO_QUALITY;req_quality=1;quality=0;", "quality", "1", 1, true},
        {"TSLY_VIDEO_QUALITY;quality=0;req_quality=1;", "quality", "0", 0, false},
        {"TSLY_X;view_seq=abc;", "view_seq", "abc", 0, false},
        {"TSLY_X;req_fps=1000000001;", "req_fps", "1000000001", 1000000000, false},
        {"TSLY_X;req_fps=99999999999999999999999999;", "req_fps", "99999999999999999999999999", 1000000000,
         false},
        {"TSLY_X;req_fps=1000000000;", "req_fps", "1000000000", 1000000000, false},
        {"TSLY_X;accepted=11;", "accepted", "11", 11, false},
        {"TSLY_X;accepted=true;", "accepted", "true", 0, false},
        {"TSLY_X;accepted= 1;", "accepted", " 1", 1, false},
        {"TSLY_X;accepted=1", "accepted", "1", 1, true}, // the value runs to the end of the text
        {"TSLY_X;accepted=;", "accepted", "", 0, false},
        {"TSLY_X;other=1;", "accepted", "", 0, false},
        {"TSLY_X;n=-5;", "n", "-5", 0, false},
        {"TSLY_X;n=+7;", "n", "+7", 7, false},
        {"TSLY_X;n=0;", "n", "0", 0, false},
        {"TSLY_X;n=12abc;", "n", "12abc", 12, false},
        {"TSLY_X;n=\t 42;", "n", "\t 42", 42, false},
        {"TSLY_X;n=1;n=2;", "n", "1", 1, true}, // the first occurrence counts
        {"TSLY_X;ID=5;", "id", "", 0, false},   // keys are case-sensitive
        {"TSLY_X;a=x=y;", "a", "x=y", 0, false},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(GetMessageValue(c.text, c.key), c.value) << c.text;
        EXPECT_EQ(ReadMessageNumber(c.text, c.key), c.number) << c.text;
        EXPECT_EQ(ReadMessageFlag(c.text, c.key), c.flag) << c.text;
    }
}

TEST(ControlMessageRead, SizesAreLoweredToEven) {
    EXPECT_EQ(ReadMessageEvenNumber("X;req_w=1921;", "req_w"), 1920u);
    EXPECT_EQ(ReadMessageEvenNumber("X;req_w=1;", "req_w"), 0u);
    EXPECT_EQ(ReadMessageEvenNumber("X;req_h=1080;", "req_h"), 1080u);
    EXPECT_EQ(ReadMessageEvenNumber("X;req_h=5000000000;", "req_h"), 1000000000u);
}

TEST(ControlMessageRead, AZeroByteEndsTheText) {
    const std::string text("TSLY_CONTROL_STOP;id=A;\0name=B;", 31);
    EXPECT_EQ(GetMessageValue(text, "id"), "A");
    EXPECT_FALSE(FindMessageValue(text, "name").has_value());
    EXPECT_FALSE(MessageHasVerb(std::string("TSLY_PING\0;", 11), kVerbPing));
}

TEST(ControlMessageRead, VerbIsAPrefixWithItsSemicolon) {
    EXPECT_TRUE(MessageHasVerb("TSLY_DISCOVER;id=A;", kVerbDiscover));
    EXPECT_TRUE(MessageHasVerb("TSLY_ACK;", kVerbAck));
    EXPECT_FALSE(MessageHasVerb("TSLY_DISCOVER", kVerbDiscover));
    EXPECT_FALSE(MessageHasVerb("TSLY_DISCOVERX;", kVerbDiscover));
    EXPECT_FALSE(MessageHasVerb("tsly_discover;", kVerbDiscover));
    EXPECT_FALSE(MessageHasVerb(" TSLY_PING;", kVerbPing));
    EXPECT_FALSE(MessageHasVerb("TSLY_CONTROL_REQUEST;", kVerbControlStop));
}

TEST(ControlMessageRead, CapabilityNeedsExactlyOneInEitherKey) {
    const std::string second = SecondCapabilityKey();
    struct {
        std::string text;
        bool ultra;
    } cases[] = {
        {"TSLY_DISCOVER;id=A;", false},
        {"TSLY_DISCOVER;id=A;cap_uq=1;", true},
        {"TSLY_DISCOVER;id=A;" + second + "=1;", true},
        {"TSLY_DISCOVER;id=A;cap_uq=0;" + second + "=1;", true},
        {"TSLY_DISCOVER;id=A;cap_uq=11;" + second + "=yes;", false},
        {"TSLY_DISCOVER;id=A;xcap_uq=1;", true}, // substring search, as for every key
    };
    for (const auto& c : cases)
        EXPECT_EQ(PeerHasUltraCapability(c.text), c.ultra) << c.text;
}

TEST(ControlMessageRead, OnlyTenDotAddressesAreLinkPeers) {
    EXPECT_TRUE(IsLinkPeerAddress("10.0.0.1"));
    EXPECT_TRUE(IsLinkPeerAddress("10.59.71.101"));
    EXPECT_FALSE(IsLinkPeerAddress("192.168.1.5"));
    EXPECT_FALSE(IsLinkPeerAddress("1.0.0.1"));
    EXPECT_FALSE(IsLinkPeerAddress("100.1.1.1"));
    EXPECT_FALSE(IsLinkPeerAddress("10"));
    EXPECT_FALSE(IsLinkPeerAddress(""));
}

TEST(ControlMessageRead, ForeignIdsAreNonEmptyAndNotOurs) {
    EXPECT_TRUE(IsForeignPeerId("TSLY-B", "TSLY-A"));
    EXPECT_FALSE(IsForeignPeerId("TSLY-A", "TSLY-A"));
    EXPECT_FALSE(IsForeignPeerId("", "TSLY-A"));
}

TEST(ControlMessageRead, AckConfirmsOnlyTheRequestSent) {
    struct {
        const char* reply;
        bool visibility7; // confirms visibility with sequence 7
        bool ultra9;      // confirms quality ULTRA with sequence 9
    } cases[] = {
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;", true, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=8;accepted=1;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=0;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=true;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;accepted=1;end=1;", false, false},
        {"TSLY_ACKX;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;", false, false},
        {"TSLY_PING;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=9;quality=1;accepted=1;end=1;", false, true},
        {"TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=9;quality=0;accepted=1;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=10;quality=1;accepted=1;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=9;accepted=1;end=1;", false, false},
        {"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;quality_seq=9;quality=1;accepted=1;", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AckConfirmsVisibility(c.reply, 7), c.visibility7) << c.reply;
        EXPECT_EQ(AckConfirmsQuality(c.reply, 9, true), c.ultra9) << c.reply;
    }
    EXPECT_TRUE(AckConfirmsQuality(BuildQualityAck(3, false, true), 3, false));
    EXPECT_FALSE(AckConfirmsQuality(BuildQualityAck(3, false, true), 3, true));
}

// What a sender builds, the receiver reads back: every request field over a spread of values.
TEST(ControlMessageRoundTrip, BuiltRequestsReadBackAsSent) {
    std::mt19937 random(20260827);
    auto pick = [&](uint32_t low, uint32_t high) {
        return std::uniform_int_distribution<uint32_t>(low, high)(random);
    };
    for (int i = 0; i < 300; ++i) {
        ControlRequestParams sent{
            pick(0, 4096) * 2,   pick(0, 4096) * 2, pick(10, 30), pick(2000000, 25000000), pick(0, 1),
            pick(0, 1000000000), pick(0, 1),        pick(0, 1),   pick(0, 1000000000)};
        for (ControlTransport transport : {ControlTransport::Tcp, ControlTransport::Udp}) {
            std::string text = BuildControlRequestMessage(kPc, sent, transport);
            ASSERT_TRUE(MessageHasVerb(text, kVerbControlRequest));
            EXPECT_EQ(GetMessageValue(text, "id"), kPc.id);
            EXPECT_EQ(GetMessageValue(text, "name"), kPc.name);
            EXPECT_EQ(GetMessageValue(text, "ver"), kPc.version);
            EXPECT_TRUE(PeerHasUltraCapability(text));
            EXPECT_EQ(ReadControlRequestParams(text, "10.0.0.2", false), sent) << text;
        }
    }
}

TEST(ControlMessageRoundTrip, VisibilityAndQualityReadBackAsSent) {
    for (uint32_t seq : {0u, 1u, 77u, 1000000000u}) {
        for (bool on : {false, true}) {
            std::string visibility = BuildVideoVisibilityMessage(kPc, on, seq);
            EXPECT_EQ(ReadMessageFlag(visibility, "hidden"), on);
            EXPECT_EQ(ReadMessageNumber(visibility, "view_seq"), seq);
            std::string quality = BuildVideoQualityMessage(kPc, on, seq);
            EXPECT_EQ(ReadMessageFlag(quality, "quality"), on);
            EXPECT_EQ(ReadMessageNumber(quality, "quality_seq"), seq);
            EXPECT_TRUE(PeerHasUltraCapability(quality));
            EXPECT_EQ(ReadMessageFlag(BuildDesktopStateMessage(kPc, on), "locked"), on);
            EXPECT_TRUE(AckConfirmsVisibility(BuildVisibilityAck(seq, true), seq));
            EXPECT_TRUE(AckConfirmsQuality(BuildQualityAck(seq, on, true), seq, on));
        }
    }
}

} // namespace
