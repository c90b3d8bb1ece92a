#include <gtest/gtest.h>

#include "dragdrop/MouseUpDecision.h"

namespace {

constexpr uint32_t kNow = 100000;

// The controller, holding an offer of 2 files (drag 7), released on the local desktop.
MouseUpFacts HeldOffer() {
    MouseUpFacts f;
    f.now = kNow;
    f.controller = true;
    f.offerHeld = true;
    f.offerCount = 2;
    f.dragId = 7;
    return f;
}

TEST(MouseUpDecision, FirstMatchWinsInOrder) {
    struct Case {
        const char* name;
        MouseUpFacts facts;
        MouseUpDecision decision;
    };
    auto with = [](auto change) {
        MouseUpFacts f = HeldOffer();
        change(f);
        return f;
    };
    const Case cases[] = {
        {"outside downloads", HeldOffer(), MouseUpDecision::DownloadHere},
        {"no files in the offer", with([](MouseUpFacts& f) { f.offerCount = 0; }),
         MouseUpDecision::NoSummary},
        {"duplicate within 800 ms, over everything else", with([](MouseUpFacts& f) {
             f.consumedDragId = 7, f.consumedTick = kNow - 799, f.lastLocalDropTick = kNow - 1,
             f.onPeer = true;
         }),
         MouseUpDecision::Duplicate},
        {"same id 800 ms later is not a duplicate",
         with([](MouseUpFacts& f) { f.consumedDragId = 7, f.consumedTick = kNow - 800; }),
         MouseUpDecision::DownloadHere},
        {"another id is not a duplicate",
         with([](MouseUpFacts& f) { f.consumedDragId = 6, f.consumedTick = kNow - 1; }),
         MouseUpDecision::DownloadHere},
        {"recent local drop before on-peer",
         with([](MouseUpFacts& f) { f.lastLocalDropTick = kNow - 599, f.onPeer = true; }),
         MouseUpDecision::RecentLocalDrop},
        {"a local drop 600 ms ago is not recent",
         with([](MouseUpFacts& f) { f.lastLocalDropTick = kNow - 600; }), MouseUpDecision::DownloadHere},
        {"on the peer before over RemoteView",
         with([](MouseUpFacts& f) { f.onPeer = true, f.overRemoteView = true; }),
         MouseUpDecision::StillOnPeer},
        {"over RemoteView", with([](MouseUpFacts& f) { f.overRemoteView = true; }),
         MouseUpDecision::InsideRemote},
        {"over RemoteView inside a drag-out window counts as local",
         with([](MouseUpFacts& f) { f.overRemoteView = true, f.dragOutStartTick = kNow - 15000; }),
         MouseUpDecision::DownloadHere},
        {"a drag-out window past 15 s no longer counts",
         with([](MouseUpFacts& f) { f.overRemoteView = true, f.dragOutStartTick = kNow - 15001; }),
         MouseUpDecision::InsideRemote},
        {"the controlled PC never downloads", with([](MouseUpFacts& f) { f.controller = false; }),
         MouseUpDecision::Nothing},
        {"no offer at the edge drops the selection",
         with([](MouseUpFacts& f) { f.offerHeld = false, f.atVirtualEdge = true; }),
         MouseUpDecision::EdgeDrop},
        {"no offer elsewhere does nothing", with([](MouseUpFacts& f) { f.offerHeld = false; }),
         MouseUpDecision::Nothing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideMouseUp(c.facts, ComputeMouseUpFlags(c.facts)), c.decision) << c.name;
}

TEST(MouseUpDecision, FlagsForTheMouseUpCache) {
    MouseUpFacts f = HeldOffer();
    f.startInRemoteView = true;
    MouseUpFlags flags = ComputeMouseUpFlags(f);
    EXPECT_FALSE(flags.treatAsRemote);
    EXPECT_TRUE(flags.dragOutCandidate) << "a drag that began in RemoteView and ended outside";

    f.onPeer = true;
    flags = ComputeMouseUpFlags(f);
    EXPECT_TRUE(flags.treatAsRemote);
    EXPECT_FALSE(flags.dragOutCandidate) << "never while on the peer";

    f = HeldOffer();
    f.dragOutStartTick = kNow - 100;
    flags = ComputeMouseUpFlags(f);
    EXPECT_TRUE(flags.inDragOutWindow);
    EXPECT_TRUE(flags.dragOutCandidate);

    f = HeldOffer();
    f.lastLocalDropTick = kNow - 10;
    EXPECT_TRUE(ComputeMouseUpFlags(f).recentLocalDrop);
    f.lastLocalDropTick = 0;
    EXPECT_FALSE(ComputeMouseUpFlags(f).recentLocalDrop) << "0 means none";
}

} // namespace
