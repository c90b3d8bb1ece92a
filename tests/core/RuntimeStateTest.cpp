#include <gtest/gtest.h>

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/CommandBusPayload.h"
#include "core/LogWriter.h"
#include "core/RuntimeState.h"
#include "core/StateTestSupport.h"
#include "support/TestLog.h"
#include "support/Utf8Checks.h"

namespace {

constexpr RuntimeWindow kWindow = 0x1234;

class RuntimeStateTest : public ::testing::Test {
protected:
    RuntimeTestBinding t;
};

TEST_F(RuntimeStateTest, TwoChangesPostOnceUntilTheWindowClearsTheFlag) {
    RuntimeSetMainWindow(kWindow);
    EXPECT_TRUE(RuntimeSetStatusMessage("one"));
    EXPECT_TRUE(RuntimeSetPeerVersion("2026"));
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 1u);
    EXPECT_EQ(t.poster.posts[0].window, kWindow);
    EXPECT_EQ(t.poster.posts[0].wParam, 0u);
    EXPECT_TRUE(RuntimeIsNotifyPending());
    EXPECT_EQ(t.runtimeEvents.load(), 1);
    EXPECT_EQ(t.commands.QueuedCount(), 1u);

    // The main window handles 0x8420: clears the flag first, then drains.
    EXPECT_TRUE(RuntimeClearNotifyPending());
    EXPECT_EQ(t.commands.Drain(), 1u);
    EXPECT_EQ(t.runtimeCommands, (std::vector<std::string>{"program=0 role=0"}));

    RuntimeSetStatusMessage("two");
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 2u);
    EXPECT_EQ(t.runtimeEvents.load(), 2);
}

TEST_F(RuntimeStateTest, AFailedPostClearsThePendingFlag) {
    RuntimeSetMainWindow(kWindow);
    t.poster.fail = true;
    RuntimeSetStatusMessage("one");
    EXPECT_FALSE(RuntimeIsNotifyPending()) << "a failed post must not wedge the notices";
    RuntimeSetStatusMessage("two");
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 2u) << "every change tries again";
    t.poster.fail = false;
    RuntimeSetStatusMessage("three");
    EXPECT_TRUE(RuntimeIsNotifyPending());
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 3u);
    EXPECT_EQ(t.commands.QueuedCount(), 3u) << "each notice still published its command";
}

TEST_F(RuntimeStateTest, WithoutAWindowEveryChangePublishesAndTheFlagEndsCleared) {
    RuntimeSetStatusMessage("one");
    RuntimeSetStatusMessage("two");
    EXPECT_FALSE(RuntimeIsNotifyPending());
    EXPECT_EQ(t.poster.posts.size(), 0u);
    EXPECT_EQ(t.runtimeEvents.load(), 2);
    EXPECT_EQ(t.commands.Drain(), 2u);
    EXPECT_EQ(t.runtimeCommands.size(), 2u);
}

TEST_F(RuntimeStateTest, WithoutAPosterAWindowCountsAsAFailedPost) {
    RuntimeSetWindowPoster(nullptr);
    RuntimeSetMainWindow(kWindow);
    RuntimeSetStatusMessage("x");
    EXPECT_FALSE(RuntimeIsNotifyPending());
    RuntimeSetWindowPoster(&t.poster);
}

TEST_F(RuntimeStateTest, TheCommandCarriesProgramStateAndRole) {
    RuntimeSetRole(RuntimeRole::Controller);
    RuntimeSetProgramState(ProgramState::Controlling);
    t.commands.Drain();
    ASSERT_EQ(t.runtimeCommands.size(), 2u);
    EXPECT_EQ(t.runtimeCommands[0], "program=0 role=1");
    EXPECT_EQ(t.runtimeCommands[1], "program=5 role=1");
}

TEST_F(RuntimeStateTest, SameStatusTwiceNotifiesOnceButMirrorsBoth) {
    EXPECT_TRUE(RuntimeSetStatusMessage("ready"));
    EXPECT_FALSE(RuntimeSetStatusMessage("ready"));
    EXPECT_EQ(t.runtimeEvents.load(), 1);
    EXPECT_EQ(t.stateManager.GetStatusText(), "ready");
    EXPECT_TRUE(RuntimeSetStatusMessage(nullptr));
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "") << "null counts as empty";
}

TEST_F(RuntimeStateTest, ErrorTextMirrorsIntoTheStateManagerAndLogsNothing) {
    EXPECT_TRUE(RuntimeSetErrorText("bind failed"));
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "bind failed");
    EXPECT_EQ(t.stateManager.GetLastErrorText(), "bind failed");
    EXPECT_TRUE(t.stateLog.Lines().empty());
    RuntimeSetErrorTextNoWait("crash text");
    EXPECT_EQ(RuntimeMakeSnapshot().errorText, "crash text");
    EXPECT_EQ(t.stateManager.GetLastErrorText(), "crash text");
    EXPECT_EQ(t.runtimeEvents.load(), 1) << "the no-wait variant raises no notice";
}

TEST_F(RuntimeStateTest, StatusAndRepaintInvalidatesTheWindow) {
    RuntimeSetStatusMessageAndRepaint("a");
    EXPECT_TRUE(t.poster.invalidated.empty());
    RuntimeSetMainWindow(kWindow);
    RuntimeSetStatusMessageAndRepaint("b");
    EXPECT_EQ(t.poster.invalidated, (std::vector<RuntimeWindow>{kWindow}));
}

TEST_F(RuntimeStateTest, NegativeCountsAreStoredAsZero) {
    RuntimeSetLocalDrag(-3, true, 10, 1, "C:\\a");
    RuntimeSetRemoteDrag(true, -1, 5, 2, 9, "D:\\b");
    RuntimeSetHttpActiveDownloads(-5);
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_EQ(s.localDragCount, 0);
    EXPECT_EQ(s.remoteDragCount, 0);
    EXPECT_EQ(s.httpActiveDownloads, 0u);
    EXPECT_TRUE(s.localDragActive);
    EXPECT_EQ(s.localDragPath, "C:\\a");
    StateSnapshot sm = t.stateManager.Snapshot();
    EXPECT_TRUE(sm.localDrag);
    EXPECT_EQ(sm.localDragFiles, 0);
    EXPECT_TRUE(sm.remoteDrag);
    EXPECT_TRUE(sm.dragActive);
}

TEST_F(RuntimeStateTest, ProgramStateNames) {
    const char* expected[] = {"IDLE",       "HOST STARTING", "HOST RUNNING", "CLIENT STARTING",
                              "CONNECTING", "CONTROLLING",   "CONTROLLED",   "SWITCHING",
                              "PEER LOST",  "ERROR",         "STOPPING"};
    for (int i = 0; i <= 10; ++i)
        EXPECT_STREQ(ProgramStateName(i), expected[i]) << i;
    EXPECT_STREQ(ProgramStateName(11), "UNKNOWN");
    EXPECT_STREQ(ProgramStateName(-1), "UNKNOWN");
}

struct SyncRow {
    int32_t programState;
    int32_t role;
    int32_t mode;
    bool reconnecting;
    bool peerLost;
};

TEST_F(RuntimeStateTest, SessionSyncDerivesTheStateManagersModeAndFlags) {
    const SyncRow rows[] = {
        {0, 0, 0, false, false}, {1, 2, 2, true, false},   {2, 2, 4, false, false},  {3, 1, 1, true, false},
        {4, 1, 1, true, false},  {5, 1, 3, false, false},  {6, 2, 4, false, false},  {7, 2, 2, false, false},
        {7, 1, 1, false, false}, {7, 0, 1, false, false},  {7, 3, 1, false, false},  {8, 0, 6, false, true},
        {9, 0, 7, false, false}, {10, 0, 5, false, false}, {11, 0, 0, false, false}, {-1, 1, 0, false, false},
    };
    for (const SyncRow& row : rows) {
        RuntimeSetRole(row.role);
        RuntimeSetProgramState(row.programState);
        StateSnapshot s = t.stateManager.Snapshot();
        EXPECT_EQ(s.sessionMode, row.mode) << row.programState << "/" << row.role;
        EXPECT_EQ(RuntimeSessionModeFor(row.programState, row.role), row.mode);
        EXPECT_EQ(s.controller, row.role == 1) << row.programState << "/" << row.role;
        EXPECT_EQ(s.controlled, row.role == 2) << row.programState << "/" << row.role;
        EXPECT_EQ(s.reconnecting, row.reconnecting) << row.programState;
        EXPECT_EQ(s.peerLost, row.peerLost) << row.programState;
    }
}

TEST_F(RuntimeStateTest, ProgramStateAndRoleNotifyOnlyOnAChange) {
    EXPECT_TRUE(RuntimeSetProgramState(ProgramState::Connecting));
    EXPECT_FALSE(RuntimeSetProgramState(ProgramState::Connecting));
    EXPECT_TRUE(RuntimeSetRole(RuntimeRole::Controller));
    EXPECT_FALSE(RuntimeSetRole(RuntimeRole::Controller));
    EXPECT_EQ(t.runtimeEvents.load(), 2);
}

TEST_F(RuntimeStateTest, PlainSettersReturnWhetherTheValueChangedAndDoNotNotify) {
    EXPECT_TRUE(RuntimeSetAppRunning(true));
    EXPECT_FALSE(RuntimeSetAppRunning(true));
    EXPECT_TRUE(RuntimeSetKeyboardActive(true));
    EXPECT_FALSE(RuntimeSetKeyboardActive(true));
    EXPECT_TRUE(RuntimeSetMouseState(1, 2, true, false, true));
    EXPECT_FALSE(RuntimeSetMouseState(1, 2, true, false, true));
    EXPECT_TRUE(RuntimeSetHttpServer(true, 8080));
    EXPECT_TRUE(RuntimeSetHttpLastBytes(99));
    EXPECT_TRUE(RuntimeSetHttpLastFile("f.txt"));
    EXPECT_FALSE(RuntimeSetHttpLastFile("f.txt"));
    EXPECT_TRUE(RuntimeSetScreenScale(1920, 1080, 144, 150, 90));
    EXPECT_TRUE(RuntimeSetCursorPath("p"));
    EXPECT_TRUE(RuntimeSetClientVideoStats(1, 2, 3, 4));
    EXPECT_TRUE(RuntimeSetChannelState(2, 4));
    EXPECT_FALSE(RuntimeSetChannelState(2, 4));
    RuntimeSetHostVideoStats(5, 6, 7, 8);
    EXPECT_EQ(t.runtimeEvents.load(), 0);
    EXPECT_EQ(t.commands.QueuedCount(), 0u);
}

TEST_F(RuntimeStateTest, ChannelOutsideZeroToThreeIsRefused) {
    int32_t old = -7;
    EXPECT_FALSE(RuntimeSetChannelState(4, 4, &old));
    EXPECT_EQ(old, 4);
    EXPECT_FALSE(RuntimeSetChannelState(-1, 6));
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(s.channelStates[c], 0);
    EXPECT_EQ(RuntimeGetChannelState(9), 0);
}

TEST_F(RuntimeStateTest, RunningFlagsAndSizesAlwaysMirrorIntoTheStateManager) {
    EXPECT_TRUE(RuntimeSetHostRunning(true));
    EXPECT_TRUE(RuntimeSetClientRunning(true));
    EXPECT_TRUE(RuntimeSetDesktopSize(2560, 1440));
    EXPECT_FALSE(RuntimeSetDesktopSize(2560, 1440));
    EXPECT_TRUE(RuntimeSetStreamSize(1280, 720));
    StateSnapshot s = t.stateManager.Snapshot();
    EXPECT_TRUE(s.hostRunning);
    EXPECT_TRUE(s.clientRunning);
    EXPECT_EQ(s.desktopWidth, 2560);
    EXPECT_EQ(s.desktopHeight, 1440);
    EXPECT_EQ(s.streamWidth, 1280);
    EXPECT_EQ(s.streamHeight, 720);
    // The StateManager's flag moved on its own: the runtime setter still mirrors.
    t.stateManager.SetHostRunning(false);
    EXPECT_FALSE(RuntimeSetHostRunning(true));
    EXPECT_TRUE(t.stateManager.IsHostRunning());
}

TEST_F(RuntimeStateTest, ActivePeerMirrorsAndNotifiesOnAChange) {
    EXPECT_TRUE(RuntimeSetActivePeer("10.0.0.2", "PC-B"));
    EXPECT_FALSE(RuntimeSetActivePeer("10.0.0.2", "PC-B"));
    EXPECT_EQ(t.runtimeEvents.load(), 1);
    StateSnapshot s = t.stateManager.Snapshot();
    EXPECT_EQ(s.peerIp, "10.0.0.2");
    EXPECT_EQ(s.peerName, "PC-B");
    EXPECT_EQ(t.stateLog.Count("[STATE] activePeer ip=10.0.0.2 name=PC-B"), 1u);
}

TEST_F(RuntimeStateTest, ClipboardItemCountAlwaysNotifiesAndMirrorsTheClampedCount) {
    RuntimeSetClipboardItemCount(3, -2, "files");
    EXPECT_EQ(t.runtimeEvents.load(), 1);
    RuntimeSetClipboardItemCount(3, -2, "files");
    EXPECT_EQ(t.runtimeEvents.load(), 2) << "always notifies";
    RuntimeSnapshot r = RuntimeMakeSnapshot();
    EXPECT_EQ(r.clipboardItemKind, 3u);
    EXPECT_EQ(r.clipboardItemCount, -2);
    EXPECT_EQ(r.clipboardItemText, "files");
    EXPECT_EQ(t.stateManager.Snapshot().clipboardItems, 0);
    RuntimeSetClipboardItemCount(6, 4, "");
    EXPECT_EQ(t.stateManager.Snapshot().clipboardItems, 4);
    EXPECT_TRUE(t.stateLog.Has("[STATE] clipboardItemCount=4"));
    EXPECT_TRUE(t.stateLog.Has(
        "[DIAG][CLIPBOARD] clipboardItemCount 0 -> 4 reason=ClipboardItemCountChanged source=StateManager"));
}

TEST_F(RuntimeStateTest, SnapshotCopiesEveryField) {
    RuntimeSetAppRunning(true);
    RuntimeSetHostRunning(true);
    RuntimeSetClientRunning(true);
    RuntimeSetProgramState(6);
    RuntimeSetRole(2);
    RuntimeSetMainWindow(kWindow);
    RuntimeSetStreamSize(11, 12);
    RuntimeSetDesktopSize(13, 14);
    RuntimeSetKeyboardActive(true);
    RuntimeSetHostVideoStats(21, 22, 23, 24);
    RuntimeSetClientVideoStats(31, 32, 33, 34);
    RuntimeSetMouseState(-41, 42, true, true, true);
    RuntimeSetHttpServer(true, 51);
    RuntimeSetHttpActiveDownloads(52);
    RuntimeSetHttpLastBytes(53);
    RuntimeSetHttpLastFile("last");
    RuntimeSetScreenScale(61, 62, 63, 64, 65);
    RuntimeSetCursorPath("cursor");
    RuntimeSetLocalDrag(71, true, 72, 73, "local");
    RuntimeSetDropReady(true, 81, 82, "target");
    RuntimeSetRemoteDrag(true, 91, 92, 93, 94, "remote");
    for (int c = 0; c < 4; ++c)
        RuntimeSetChannelState(c, c + 2);
    RuntimeSetStatusMessage("status");
    RuntimeSetErrorText("error");
    RuntimeSetActivePeer("10.0.0.9", "peer");
    RuntimeSetPeerVersion("v");
    RuntimeSetClipboardItemCount(5, 101, "clip");

    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_TRUE(s.appRunning && s.hostRunning && s.clientRunning);
    EXPECT_EQ(s.programState, 6);
    EXPECT_EQ(s.role, 2);
    EXPECT_EQ(s.mainWindow, kWindow);
    EXPECT_EQ(s.streamWidth, 11u);
    EXPECT_EQ(s.streamHeight, 12u);
    EXPECT_EQ(s.desktopWidth, 13u);
    EXPECT_EQ(s.desktopHeight, 14u);
    EXPECT_TRUE(s.keyboardActive);
    EXPECT_EQ(s.hostCaptureFps, 21);
    EXPECT_EQ(s.hostEncodeFps, 22);
    EXPECT_EQ(s.hostSendFps, 23);
    EXPECT_EQ(s.hostKbps, 24);
    EXPECT_EQ(s.clientReceiveFps, 31);
    EXPECT_EQ(s.clientDecodeFps, 32);
    EXPECT_EQ(s.clientDrawFps, 33);
    EXPECT_EQ(s.clientKbps, 34);
    EXPECT_EQ(s.mouseX, -41);
    EXPECT_EQ(s.mouseY, 42);
    EXPECT_TRUE(s.mouseLeft && s.mouseRight && s.mouseMiddle);
    EXPECT_TRUE(s.httpRunning);
    EXPECT_EQ(s.httpPort, 51u);
    EXPECT_EQ(s.httpActiveDownloads, 52u);
    EXPECT_EQ(s.httpLastBytes, 53u);
    EXPECT_EQ(s.httpLastFile, "last");
    EXPECT_EQ(s.screenWidth, 61u);
    EXPECT_EQ(s.screenHeight, 62u);
    EXPECT_EQ(s.dpi, 63u);
    EXPECT_EQ(s.dpiScalePercent, 64u);
    EXPECT_EQ(s.controlUiScalePercent, 65u);
    EXPECT_EQ(s.cursorPath, "cursor");
    EXPECT_TRUE(s.localDragActive);
    EXPECT_EQ(s.localDragCount, 71);
    EXPECT_EQ(s.localDragBytes, 72u);
    EXPECT_EQ(s.localDragFlag, 73);
    EXPECT_EQ(s.localDragPath, "local");
    EXPECT_TRUE(s.dropReady);
    EXPECT_EQ(s.dropCount, 81);
    EXPECT_EQ(s.dropBytes, 82u);
    EXPECT_EQ(s.dropTarget, "target");
    EXPECT_TRUE(s.remoteDragActive);
    EXPECT_EQ(s.remoteDragCount, 91);
    EXPECT_EQ(s.remoteDragBytes, 92u);
    EXPECT_EQ(s.remoteDragDirection, 93);
    EXPECT_EQ(s.remoteDragId, 94u);
    EXPECT_EQ(s.remoteDragPath, "remote");
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(s.channelStates[c], c + 2);
    EXPECT_EQ(s.statusMessage, "status");
    EXPECT_EQ(s.errorText, "error");
    EXPECT_EQ(s.peerIp, "10.0.0.9");
    EXPECT_EQ(s.peerName, "peer");
    EXPECT_EQ(s.peerVersion, "v");
    EXPECT_EQ(s.clipboardItemKind, 5u);
    EXPECT_EQ(s.clipboardItemCount, 101);
    EXPECT_EQ(s.clipboardItemText, "clip");

    RuntimeSnapshot tried;
    EXPECT_TRUE(RuntimeTryMakeSnapshot(tried));
    EXPECT_EQ(RuntimeFormatSummary(tried), RuntimeFormatSummary(s));

    RuntimeStateReset();
    RuntimeSnapshot reset = RuntimeMakeSnapshot();
    EXPECT_EQ(reset.dpi, 96u);
    EXPECT_EQ(reset.dpiScalePercent, 100u);
    EXPECT_EQ(reset.controlUiScalePercent, 100u);
    EXPECT_EQ(reset.statusMessage, "");
    EXPECT_EQ(reset.programState, 0);
    EXPECT_EQ(reset.mainWindow, 0u);
}

TEST_F(RuntimeStateTest, SummaryLineOfTheInitialRecord) {
    EXPECT_EQ(
        RuntimeFormatSummary(RuntimeMakeSnapshot()),
        "app=0 host=0 client=0 program=IDLE desktop=0x0 stream=0x0 mouse=0,0 L=0 R=0 M=0 http=0:0 httpdl=0 "
        "httplast=0 scale=0x0 dpi=96 dpiscale=100 uiscale=100 keyboard=0 cap=0 enc=0 send=0 recv=0 dec=0 "
        "draw=0 video=0 input=0 audio=0 clipboard=0 msg= err=");
}

TEST_F(RuntimeStateTest, SummaryKeysInOrder) {
    RuntimeSnapshot s;
    s.appRunning = true;
    s.programState = 5;
    s.desktopWidth = 1920;
    s.desktopHeight = 1080;
    s.streamWidth = 1280;
    s.streamHeight = 720;
    s.mouseX = -3;
    s.mouseY = 4;
    s.mouseRight = true;
    s.httpRunning = true;
    s.httpPort = 50000;
    s.httpActiveDownloads = 2;
    s.httpLastBytes = 5000000000ull;
    s.hostCaptureFps = 60;
    s.clientDrawFps = 59;
    s.clientKbps = 999; // never written
    s.channelStates[0] = 4;
    s.channelStates[3] = 6;
    s.statusMessage = "Connected\r\n";
    s.errorText = "line1\nline2";
    EXPECT_EQ(
        RuntimeFormatSummary(s),
        "app=1 host=0 client=0 program=CONTROLLING desktop=1920x1080 stream=1280x720 mouse=-3,4 L=0 R=1 M=0 "
        "http=1:50000 httpdl=2 httplast=5000000000 scale=0x0 dpi=96 dpiscale=100 uiscale=100 keyboard=0 "
        "cap=60 "
        "enc=0 send=0 recv=0 dec=0 draw=59 video=4 input=0 audio=0 clipboard=6 msg=Connected err=line1 "
        "line2");
}

TEST_F(RuntimeStateTest, SummaryStaysWithin511BytesAndNeverSplitsACharacter) {
    const std::string pieces[] = {"a", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"};
    for (const std::string& msgPiece : pieces)
        for (const std::string& errPiece : pieces)
            for (size_t shift = 0; shift < 4; ++shift) {
                RuntimeSnapshot s;
                s.statusMessage = std::string(shift, 'x');
                while (s.statusMessage.size() < 5000)
                    s.statusMessage += msgPiece;
                s.errorText = std::string(shift, 'y');
                while (s.errorText.size() < 5000)
                    s.errorText += errPiece;
                std::string line = RuntimeFormatSummary(s);
                EXPECT_LE(line.size(), kRuntimeSummaryMax);
                EXPECT_GE(line.size(), kRuntimeSummaryMax - 6) << "each text loses at most 3 bytes to a cut";
                EXPECT_TRUE(IsCompleteUtf8(line));
                EXPECT_NE(line.find(" msg=" + s.statusMessage.substr(0, 40)), std::string::npos);
                EXPECT_NE(line.find(" err="), std::string::npos);
                EXPECT_EQ(line.find('\n'), std::string::npos);
            }
    // A short status leaves the room to the error text, and the other way round.
    RuntimeSnapshot s;
    s.statusMessage = "short";
    s.errorText = std::string(5000, 'e');
    std::string line = RuntimeFormatSummary(s);
    EXPECT_EQ(line.size(), kRuntimeSummaryMax);
    EXPECT_NE(line.find("msg=short err=eee"), std::string::npos);
    s.statusMessage = std::string(5000, 'm');
    s.errorText = "short";
    line = RuntimeFormatSummary(s);
    EXPECT_EQ(line.size(), kRuntimeSummaryMax);
    EXPECT_EQ(line.substr(line.size() - 10), " err=short");
    // Extreme numbers still fit.
    RuntimeSnapshot big;
    big.mouseX = big.mouseY = INT32_MIN;
    big.hostCaptureFps = big.hostEncodeFps = big.hostSendFps = INT32_MIN;
    big.clientReceiveFps = big.clientDecodeFps = big.clientDrawFps = INT32_MIN;
    for (int c = 0; c < 4; ++c)
        big.channelStates[c] = INT32_MIN;
    big.httpLastBytes = UINT64_MAX;
    big.desktopWidth = big.desktopHeight = big.streamWidth = big.streamHeight = UINT32_MAX;
    big.statusMessage = std::string(600, 'z');
    EXPECT_LE(RuntimeFormatSummary(big).size(), kRuntimeSummaryMax);
}

TEST_F(RuntimeStateTest, ABacklogLeftByDrainRaisesTheNoticeAgain) {
    RuntimeTestBinding* self = &t;
    CommandBus bus(nullptr, &RuntimeNotifyChanged);
    RuntimeBindings previous = RuntimeBind({&self->events, &bus, &self->stateManager});
    RuntimeSetMainWindow(kWindow);
    for (int i = 0; i < 200; ++i)
        bus.Publish(MakeRuntimeStateChangedCommand(0, 0));
    RuntimeSetStatusMessage("change"); // posts once
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 1u);
    // The window handles 0x8420.
    RuntimeClearNotifyPending();
    EXPECT_EQ(bus.Drain(), 128u);
    EXPECT_TRUE(RuntimeIsNotifyPending()) << "the rest does not wait for an unrelated change";
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 2u);
    RuntimeClearNotifyPending();
    EXPECT_EQ(bus.Drain(), 74u); // 72 left + the two notices' own commands
    EXPECT_FALSE(RuntimeIsNotifyPending());
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 2u);
    RuntimeBind(previous);
}

TEST_F(RuntimeStateTest, PublishCommandRaisesTheNotice) {
    RuntimeSetMainWindow(kWindow);
    CommandMessage m;
    m.type = kCommandFileHttpBegin;
    m.name = CommandTypeName(m.type);
    EXPECT_EQ(RuntimePublishCommand(m), 1u);
    EXPECT_EQ(t.poster.CountPosts(kRuntimeStateMessage), 1u);
    EXPECT_EQ(t.commands.QueuedCount(), 2u);
}

void WriteTo(LogWriter& writer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    writer.WriteV(format, args);
    va_end(args);
}

// The log writer's error-text sink runs inside Log::Write; it must not deadlock with a caller's locks or with
// StateManager lines that themselves become the error text.
TEST_F(RuntimeStateTest, LogErrorTextSinkFromAWriter) {
    MemoryLogPlatform platform;
    LogWriter writer(platform);
    writer.SetErrorTextSink(&RuntimeLogErrorTextSink);
    ASSERT_TRUE(writer.Open());
    std::mutex callerLock;
    {
        std::lock_guard<std::mutex> held(callerLock); // callers may log under their own locks
        WriteTo(writer, "[NET] bind failed port=%d", 5000);
    }
    std::string error = RuntimeMakeSnapshot().errorText;
    EXPECT_NE(error.find("[NET] bind failed port=5000"), std::string::npos);
    EXPECT_EQ(error.substr(error.size() - 2), "\r\n") << "the whole line becomes the error text";
    EXPECT_EQ(t.stateManager.GetLastErrorText(), error);
    EXPECT_EQ(t.runtimeEvents.load(), 1);
}

TEST(RuntimeStateConcurrency, SettersAgainstSnapshots) {
    RuntimeTestBinding t;
    RuntimeSetMainWindow(kWindow);
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 4; ++w)
        threads.emplace_back([&, w] {
            for (int i = 0; i < 400; ++i) {
                RuntimeSetStatusMessage(i % 2 ? "odd status" : "even status");
                RuntimeSetErrorText(w % 2 ? "e1" : "e2");
                RuntimeSetLocalDrag(i, i % 3 == 0, static_cast<uint64_t>(i), 1, i % 2 ? "a" : "b");
                RuntimeSetRemoteDrag(i % 5 == 0, i, 1, 2, 3, "r");
                RuntimeSetProgramState(i % 11);
                RuntimeSetRole(i % 3);
                RuntimeSetChannelState(i % 4, i % 7);
                RuntimeSetHostVideoStats(i, i, i, i);
                RuntimeSetActivePeer(i % 2 ? "10.0.0.1" : "10.0.0.2", "n");
                RuntimeSetClipboardItemCount(1, i, "t");
                if (i % 50 == 0)
                    RuntimeClearNotifyPending();
            }
        });
    threads.emplace_back([&] {
        while (!stop.load()) {
            RuntimeSnapshot s = RuntimeMakeSnapshot();
            EXPECT_LE(RuntimeFormatSummary(s).size(), kRuntimeSummaryMax);
            t.stateManager.Snapshot();
        }
    });
    threads.emplace_back([&] {
        while (!stop.load())
            t.commands.Drain();
    });
    for (int w = 0; w < 4; ++w)
        threads[w].join();
    stop = true;
    threads[4].join();
    threads[5].join();
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    EXPECT_TRUE(s.statusMessage == "odd status" || s.statusMessage == "even status");
}

} // namespace
