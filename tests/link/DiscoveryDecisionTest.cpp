#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ControlMessage.h"
#include "link/DiscoveryDatagram.h"
#include "link/DiscoveryPeerLoss.h"
#include "link/LocalIdentity.h"
#include "core/StateManagerTypes.h"
#include "support/Utf8Checks.h"

namespace {

using namespace Discovery;

constexpr const char* kSelf = "TSLY-SELF";

TEST(DiscoveryDatagram, DecisionTable) {
    struct Case {
        std::string text;
        const char* sender;
        DatagramKind kind;
        PeerAdmission admission;
    };
    const std::string peer = BuildDiscoverMessage({"TSLY-B", "B", "1"});
    const std::string self = BuildDiscoverMessage({kSelf, "SELF", "1"});
    const std::vector<Case> cases = {
        {peer, "10.0.0.2", DatagramKind::Discover, PeerAdmission::Accept},
        {self, "10.0.0.1", DatagramKind::Discover, PeerAdmission::OwnId},
        {peer, "192.168.1.5", DatagramKind::Discover, PeerAdmission::NonLink},
        {peer, "1.0.0.1", DatagramKind::Discover, PeerAdmission::NonLink},
        {peer, "", DatagramKind::Discover, PeerAdmission::NoAddress},
        {"TSLY_DISCOVER;name=B;", "10.0.0.2", DatagramKind::Discover, PeerAdmission::NoId},
        {"TSLY_CONTROL_REQUEST;id=TSLY-B;req_w=0;", "10.0.0.2", DatagramKind::Control, PeerAdmission::Accept},
        {"TSLY_CONTROL_STOP;id=TSLY-B;name=B;", "10.0.0.2", DatagramKind::Control, PeerAdmission::Accept},
        {"TSLY_CONTROL_STOP;id=TSLY-B;name=B;", "127.0.0.1", DatagramKind::Control, PeerAdmission::NonLink},
        {"TSLY_CONTROL_STOP;id=TSLY-SELF;", "10.0.0.2", DatagramKind::Control, PeerAdmission::OwnId},
        // Only three verbs are acted on; prefixes must be whole verbs.
        {"TSLY_PING;id=TSLY-B;end=1;", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
        {"TSLY_VIDEO_QUALITY;id=TSLY-B;quality=1;", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
        {"TSLY_DISCOVERX;id=TSLY-B;", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
        {"TSLY_DISCOVER", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
        {"tsly_discover;id=TSLY-B;", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
        {"", "10.0.0.2", DatagramKind::Other, PeerAdmission::Accept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " from " + c.sender);
        DatagramDecision d = DecideDatagram(c.text, c.sender, kSelf);
        EXPECT_EQ(d.kind, c.kind);
        EXPECT_EQ(d.admission, c.admission);
    }
}

TEST(DiscoveryDatagram, TextEndsAtTheFirstZeroByte) {
    EXPECT_EQ(DatagramText(std::string("TSLY_DISCOVER;id=A;\0id=B;", 26)), "TSLY_DISCOVER;id=A;");
    EXPECT_EQ(DatagramText("no zero"), "no zero");
    EXPECT_EQ(DatagramText(std::string("\0x", 2)), "");
}

TEST(DiscoveryPeerLoss, TransportAliveTable) {
    constexpr int32_t kConnected = static_cast<int32_t>(ChannelState::Connected);
    constexpr int32_t kConnecting = static_cast<int32_t>(ChannelState::Connecting);
    auto running = [] {
        TransportFacts f;
        f.runtimeHostRunning = true;
        return f;
    };
    struct Case {
        const char* name;
        TransportFacts facts;
        bool alive;
    };
    std::vector<Case> cases;
    {
        TransportFacts f;
        f.connected = true;
        f.inputState = kConnected;
        cases.push_back({"no session runs: nothing counts", f, false});
    }
    cases.push_back({"running but nothing connected", running(), false});
    for (bool TransportFacts::*flag :
         {&TransportFacts::runtimeHostRunning, &TransportFacts::runtimeClientRunning,
          &TransportFacts::hostRunning, &TransportFacts::clientRunning}) {
        TransportFacts f;
        f.*flag = true;
        f.connected = true;
        cases.push_back({"each running flag opens the check", f, true});
    }
    {
        TransportFacts f = running();
        f.videoState = kConnected;
        cases.push_back({"video connected", f, true});
        f.videoState = kConnecting;
        cases.push_back({"video only connecting", f, false});
    }
    {
        TransportFacts f = running();
        f.inputState = kConnected;
        cases.push_back({"input connected", f, true});
    }
    {
        TransportFacts f = running();
        f.clipboardState = kConnected;
        cases.push_back({"clipboard connected", f, true});
    }
    {
        TransportFacts f = running();
        f.clipboardSocketOpen = true;
        cases.push_back({"clipboard socket but sharing off", f, false});
        f.clipboardEnabled = true;
        cases.push_back({"clipboard socket with sharing on", f, true});
    }
    {
        TransportFacts f = running();
        f.inputChannelConnected = true;
        cases.push_back({"input channel connected", f, true});
    }
    {
        TransportFacts f = running();
        f.tcpInputConnected = true;
        cases.push_back({"tcpInputConnected", f, true});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsTransportAlive(c.facts), c.alive);
    }
}

TEST(DiscoveryPeerLoss, DecisionTable) {
    TransportFacts alive;
    alive.clientRunning = true;
    alive.connected = true;
    struct Case {
        const char* name;
        uint32_t downloads;
        bool cable;
        TransportFacts transport;
        PeerLossOutcome outcome;
    };
    const std::vector<Case> cases = {
        {"download wins over everything", 2, false, alive, PeerLossOutcome::DeferredForTransfer},
        {"cable gone", 0, false, alive, PeerLossOutcome::MappedToDeviceRemoval},
        {"transport alive", 0, true, alive, PeerLossOutcome::SessionKept},
        {"nothing alive", 0, true, TransportFacts{}, PeerLossOutcome::SessionLost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PeerLossFacts facts;
        facts.activeDownloads = c.downloads;
        facts.cablePresent = c.cable;
        facts.transport = c.transport;
        EXPECT_EQ(DecidePeerLoss(facts), c.outcome);
    }
}

TEST(DiscoveryPeerLoss, OfflineStatusIsBoundedAndNeverSplitsACharacter) {
    EXPECT_EQ(PeerOfflineStatus("Bee"), "Peer offline: Bee");
    EXPECT_EQ(PeerOfflineStatus(""), "Peer offline: ");
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xF0\x9F\x98\x80"; // a 4-byte character
    std::string status = PeerOfflineStatus(name);
    EXPECT_LE(status.size(), kPeerOfflineStatusMaxBytes);
    EXPECT_GT(status.size(), kPeerOfflineStatusMaxBytes - 4);
    EXPECT_TRUE(IsCompleteUtf8(status));
}

} // namespace
