// The controlled side's handling of TSLY_VIDEO_VISIBILITY and TSLY_VIDEO_QUALITY, as tables: the gates
// (sender address, identity and active peer, role, owner) and the sequence rule, with the reply each gives,
// what is stored afterwards and the log line that says why.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "SessionControllerTestSupport.h"
#include "link/VideoSyncHandler.h"

namespace {

constexpr uint32_t kNearWrap = 0xFFFFFFF0u;
constexpr const char* kPeerIp = "10.0.0.2"; // the active peer (SessionControllerFixture::kPeerIp)

std::string Visibility(const std::string& fields, const std::string& id = "TSLY-ZED") {
    return "TSLY_VIDEO_VISIBILITY;id=" + id + ";name=Desk;ver=20260827.3;" + fields + "end=1;";
}

std::string Quality(const std::string& fields, const std::string& id = "TSLY-ZED", bool capability = true) {
    return "TSLY_VIDEO_QUALITY;id=" + id + ";name=Desk;ver=20260827.3;" + fields +
           (capability ? "cap_uq=1;" : "") + "end=1;";
}

StoredControlRequest Stored(const char* owner, uint32_t hidden, uint32_t viewSeq, uint32_t quality = 0,
                            uint32_t qualitySeq = 0) {
    StoredControlRequest s;
    s.ownerIp = owner;
    s.params.viewHidden = hidden;
    s.params.viewSeq = viewSeq;
    s.params.quality = quality;
    s.params.qualitySeq = qualitySeq;
    return s;
}

// How this PC stands when the message arrives: controlled by 10.0.0.2 with its host session running, unless
// the case changes it.
enum class Stand { Controlled, Controller, HostStopped };

class VideoSyncHandlerTest : public SessionControllerFixture {
protected:
    void SetUp() override {
        SessionControllerFixture::SetUp();
        BecomeControlledBy(kPeerIp);
    }
    void Prepare(Stand stand, const StoredControlRequest& before) {
        RuntimeSetRole(stand == Stand::Controller ? RuntimeRole::Controller : RuntimeRole::Controlled);
        RuntimeSetHostRunning(stand != Stand::HostStopped);
        state.requests.WithStoredRequest([&](StoredControlRequest& s) { s = before; });
        TestLog().Clear();
        services.ClearCalls();
    }
    StoredControlRequest After() {
        StoredControlRequest copy;
        state.requests.WithStoredRequest([&](StoredControlRequest& s) { copy = s; });
        return copy;
    }

    VideoSyncHandler sync{manager, state.requests, &services};
};

struct VisibilityCase {
    const char* name;
    const char* sender;
    std::string message;
    Stand stand;
    StoredControlRequest before;
    bool accepted;
    uint32_t replySeq;
    const char* line;
    StoredControlRequest after;
};

const VisibilityCase kVisibilityCases[] = {
    {"sender outside 10/8", "192.168.1.5", Visibility("hidden=1;view_seq=3;"), Stand::Controlled,
     Stored("", 0, 0), false, 0, "[VIDEO][VISIBILITY][RX_IGNORED] non-10 peer=192.168.1.5", Stored("", 0, 0)},
    {"this PC's own id", kPeerIp, Visibility("hidden=1;view_seq=3;", "TSLY-MID"), Stand::Controlled,
     Stored("", 0, 0), false, 0,
     "[VIDEO][VISIBILITY][RX_IGNORED] identity/active peer=10.0.0.2 peerId=TSLY-MID active=1",
     Stored("", 0, 0)},
    {"no id", kPeerIp, Visibility("hidden=1;view_seq=3;", ""), Stand::Controlled, Stored("", 0, 0), false, 0,
     "[VIDEO][VISIBILITY][RX_IGNORED] identity/active peer=10.0.0.2 peerId= active=1", Stored("", 0, 0)},
    {"not the active peer", "10.0.0.3", Visibility("hidden=1;view_seq=3;"), Stand::Controlled,
     Stored("", 0, 0), false, 0,
     "[VIDEO][VISIBILITY][RX_IGNORED] identity/active peer=10.0.0.3 peerId=TSLY-ZED active=0",
     Stored("", 0, 0)},
    {"this PC is the controller", kPeerIp, Visibility("hidden=1;view_seq=3;"), Stand::Controller,
     Stored("", 0, 0), false, 0,
     "[VIDEO][VISIBILITY][RX_IGNORED] peer=10.0.0.2 hidden=1 role=1 hostRunning=1", Stored("", 0, 0)},
    {"no host session", kPeerIp, Visibility("hidden=1;view_seq=3;"), Stand::HostStopped, Stored("", 0, 0),
     false, 0, "[VIDEO][VISIBILITY][RX_IGNORED] peer=10.0.0.2 hidden=1 role=2 hostRunning=0",
     Stored("", 0, 0)},
    {"another controller's request is stored", kPeerIp, Visibility("hidden=1;view_seq=9;"), Stand::Controlled,
     Stored("10.0.0.3", 0, 5), false, 0,
     "[VIDEO][VISIBILITY][RX_IGNORED] non-active request owner=10.0.0.3 sender=10.0.0.2",
     Stored("10.0.0.3", 0, 5)},
    {"no owner yet: the sender becomes it", kPeerIp, Visibility("hidden=1;view_seq=3;"), Stand::Controlled,
     Stored("", 0, 0), true, 3,
     "[VIDEO][VISIBILITY][RX] peer=10.0.0.2 hidden=1 viewSeq=3 videoPolicy=HEARTBEAT_1FPS "
     "audioPolicy=REALTIME_UNCHANGED",
     Stored(kPeerIp, 1, 3)},
    {"older sequence", kPeerIp, Visibility("hidden=1;view_seq=4;"), Stand::Controlled, Stored(kPeerIp, 0, 5),
     false, 5, "[VIDEO][VISIBILITY][RX_IGNORED] stale peer=10.0.0.2 hidden=1 viewSeq=4 currentSeq=5",
     Stored(kPeerIp, 0, 5)},
    {"equal sequence", kPeerIp, Visibility("hidden=0;view_seq=5;"), Stand::Controlled, Stored(kPeerIp, 1, 5),
     true, 5, "[VIDEO][VISIBILITY][RX] peer=10.0.0.2 hidden=0 viewSeq=5 videoPolicy=NORMAL",
     Stored(kPeerIp, 0, 5)},
    {"newer across the wrap", kPeerIp, Visibility("hidden=1;view_seq=5;"), Stand::Controlled,
     Stored(kPeerIp, 0, kNearWrap), true, 5, "[VIDEO][VISIBILITY][RX] peer=10.0.0.2 hidden=1 viewSeq=5",
     Stored(kPeerIp, 1, 5)},
    {"zero sequence: flag taken, stored sequence kept and returned", kPeerIp,
     Visibility("hidden=1;view_seq=0;"), Stand::Controlled, Stored(kPeerIp, 0, 5), true, 5,
     "[VIDEO][VISIBILITY][RX] peer=10.0.0.2 hidden=1 viewSeq=5", Stored(kPeerIp, 1, 5)},
    {"only 1 is a true flag", kPeerIp, Visibility("hidden=true;view_seq=6;"), Stand::Controlled,
     Stored(kPeerIp, 1, 5), true, 6, "[VIDEO][VISIBILITY][RX] peer=10.0.0.2 hidden=0 viewSeq=6",
     Stored(kPeerIp, 0, 6)},
};

TEST_F(VideoSyncHandlerTest, VisibilityTable) {
    for (const VisibilityCase& c : kVisibilityCases) {
        Prepare(c.stand, c.before);
        uint32_t replySeq = 77;
        EXPECT_EQ(sync.HandleVideoVisibility(c.sender, c.message, replySeq), c.accepted) << c.name;
        EXPECT_EQ(replySeq, c.replySeq) << c.name;
        EXPECT_EQ(CountLines(c.line), 1u) << c.name;
        StoredControlRequest after = After();
        EXPECT_EQ(after.ownerIp, c.after.ownerIp) << c.name;
        EXPECT_EQ(after.params.viewHidden, c.after.params.viewHidden) << c.name;
        EXPECT_EQ(after.params.viewSeq, c.after.params.viewSeq) << c.name;
    }
}

struct QualityCase {
    const char* name;
    const char* sender;
    std::string message;
    Stand stand;
    StoredControlRequest before;
    bool accepted;
    uint32_t replySeq;
    bool replyUltra;
    const char* line;
    StoredControlRequest after;
    bool restart;
};

const QualityCase kQualityCases[] = {
    {"sender outside 10/8", "1.0.0.1", Quality("quality=1;quality_seq=3;"), Stand::Controlled,
     Stored("", 0, 0), false, 0, false, "[QUALITY][RX_IGNORED] non-10 peer=1.0.0.1", Stored("", 0, 0), false},
    {"this PC's own id", kPeerIp, Quality("quality=1;quality_seq=3;", "TSLY-MID"), Stand::Controlled,
     Stored("", 0, 0), false, 0, false,
     "[QUALITY][RX_IGNORED] identity/active/capability peer=10.0.0.2 peerId=TSLY-MID active=1 cap=1",
     Stored("", 0, 0), false},
    {"not the active peer", "10.0.0.3", Quality("quality=1;quality_seq=3;"), Stand::Controlled,
     Stored("", 0, 0), false, 0, false,
     "[QUALITY][RX_IGNORED] identity/active/capability peer=10.0.0.3 peerId=TSLY-ZED active=0 cap=1",
     Stored("", 0, 0), false},
    {"no capability", kPeerIp, Quality("quality=1;quality_seq=3;", "TSLY-ZED", false), Stand::Controlled,
     Stored("", 0, 0), false, 0, false,
     "[QUALITY][RX_IGNORED] identity/active/capability peer=10.0.0.2 peerId=TSLY-ZED active=1 cap=0",
     Stored("", 0, 0), false},
    {"this PC is the controller", kPeerIp, Quality("quality=1;quality_seq=3;"), Stand::Controller,
     Stored("", 0, 0), false, 0, false, "[QUALITY][RX_IGNORED] peer=10.0.0.2 role=1 hostRunning=1",
     Stored("", 0, 0), false},
    {"no host session", kPeerIp, Quality("quality=1;quality_seq=3;"), Stand::HostStopped, Stored("", 0, 0),
     false, 0, false, "[QUALITY][RX_IGNORED] peer=10.0.0.2 role=2 hostRunning=0", Stored("", 0, 0), false},
    {"no sequence", kPeerIp, Quality("quality=1;quality_seq=0;"), Stand::Controlled,
     Stored(kPeerIp, 0, 0, 0, 2), false, 0, false,
     "[QUALITY][RX_IGNORED] missing sequence peer=10.0.0.2 mode=ULTRA", Stored(kPeerIp, 0, 0, 0, 2), false},
    {"another controller's request is stored", kPeerIp, Quality("quality=1;quality_seq=3;"),
     Stand::Controlled, Stored("10.0.0.3", 0, 0, 0, 2), false, 0, false,
     "[QUALITY][RX_IGNORED] non-active request owner=10.0.0.3 sender=10.0.0.2",
     Stored("10.0.0.3", 0, 0, 0, 2), false},
    {"older sequence: the reply holds what is stored", kPeerIp, Quality("quality=0;quality_seq=4;"),
     Stand::Controlled, Stored(kPeerIp, 0, 0, 1, 5), false, 5, true,
     "[QUALITY][RX_STALE] peer=10.0.0.2 requestedSeq=4 currentSeq=5 requested=H264 current=ULTRA",
     Stored(kPeerIp, 0, 0, 1, 5), false},
    {"newer across the wrap", kPeerIp, Quality("quality=1;quality_seq=3;"), Stand::Controlled,
     Stored(kPeerIp, 0, 0, 0, kNearWrap), true, 3, true,
     "[QUALITY][RX_APPLY] peer=10.0.0.2 qualitySeq=3 old=H264 new=ULTRA action=rebuild-video-only",
     Stored(kPeerIp, 0, 0, 1, 3), true},
    {"no owner and no sequence stored: taken", kPeerIp, Quality("quality=1;quality_seq=1;"),
     Stand::Controlled, Stored("", 0, 0), true, 1, true,
     "[QUALITY][RX_APPLY] peer=10.0.0.2 qualitySeq=1 old=H264 new=ULTRA action=rebuild-video-only",
     Stored(kPeerIp, 0, 0, 1, 1), true},
    {"equal sequence, other mode", kPeerIp, Quality("quality=0;quality_seq=3;"), Stand::Controlled,
     Stored(kPeerIp, 0, 0, 1, 3), true, 3, false,
     "[QUALITY][RX_APPLY] peer=10.0.0.2 qualitySeq=3 old=ULTRA new=H264 action=rebuild-video-only",
     Stored(kPeerIp, 0, 0, 0, 3), true},
    {"same mode: confirmed without a rebuild", kPeerIp, Quality("quality=1;quality_seq=4;"),
     Stand::Controlled, Stored(kPeerIp, 0, 0, 1, 3), true, 4, true,
     "[QUALITY][RX_CONFIRM] peer=10.0.0.2 qualitySeq=4 mode=ULTRA already-applied=1",
     Stored(kPeerIp, 0, 0, 1, 4), false},
    {"only 1 asks for ULTRA", kPeerIp, Quality("quality=11;quality_seq=4;"), Stand::Controlled,
     Stored(kPeerIp, 0, 0, 0, 3), true, 4, false,
     "[QUALITY][RX_CONFIRM] peer=10.0.0.2 qualitySeq=4 mode=H264 already-applied=1",
     Stored(kPeerIp, 0, 0, 0, 4), false},
};

TEST_F(VideoSyncHandlerTest, QualityTable) {
    for (const QualityCase& c : kQualityCases) {
        Prepare(c.stand, c.before);
        uint32_t replySeq = 77;
        bool replyUltra = !c.replyUltra;
        EXPECT_EQ(sync.HandleVideoQualityRequest(c.sender, c.message, replySeq, replyUltra), c.accepted)
            << c.name;
        EXPECT_EQ(replySeq, c.replySeq) << c.name;
        EXPECT_EQ(replyUltra, c.replyUltra) << c.name;
        EXPECT_EQ(CountLines(c.line), 1u) << c.name;
        StoredControlRequest after = After();
        EXPECT_EQ(after.ownerIp, c.after.ownerIp) << c.name;
        EXPECT_EQ(after.params.quality, c.after.params.quality) << c.name;
        EXPECT_EQ(after.params.qualitySeq, c.after.params.qualitySeq) << c.name;
        EXPECT_EQ(services.Count("hostVideoRestart"), c.restart ? 1u : 0u) << c.name;
        EXPECT_EQ(CountLines("Host video restart requested: reliable controller quality selection changed"),
                  c.restart ? 1u : 0u)
            << c.name;
    }
}

} // namespace
