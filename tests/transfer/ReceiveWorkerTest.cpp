#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "core/Utf.h"
#include "support/TestLog.h"
#include "transfer/ReceiveWorker.h"

namespace {

// A scripted system: a manifest, a disk and per-item download scripts; every call the worker makes is
// recorded in order as a short text.
class FakePorts final : public IReceivePorts {
public:
    struct Download {
        std::vector<uint64_t> steps; // bytes written reported to the progress callback, in order
        bool ok = true;
        std::string error;
    };

    bool manifestOk = true;
    std::string manifestError;
    std::vector<ManifestItem> items;
    size_t skipped = 0;
    bool diskOk = true;
    uint64_t freeBytes = 1ull << 40;
    std::map<std::string, Download> downloads; // by item path; absent: ok without progress
    std::function<void(const std::string& path, size_t step)> onStep;
    std::function<void(const std::string& path)> afterDownload;
    std::atomic<bool> stop{false};
    bool english = true;
    bool throwOnRoot = false;
    uint32_t tick = 5000;
    uint32_t tickStep = 0;

    std::mutex mutex;
    std::vector<std::string> calls;
    std::vector<FileProgressReport> progress;
    std::vector<FileResultReport> errors;
    std::vector<bool> downloadRename;

    bool GetManifest(const std::string& url, std::string& body, std::string& error) override {
        Record("manifest " + url);
        body = "{json}";
        error = manifestError;
        return manifestOk;
    }
    bool ParseManifest(std::string_view json, std::vector<ManifestItem>& out, size_t& skippedOut) override {
        EXPECT_EQ(json, "{json}");
        out = items;
        skippedOut = skipped;
        return !items.empty() && skipped == 0;
    }
    std::u16string ResolveTargetRoot(const std::string& targetPath) override {
        Record("root " + targetPath);
        if (throwOnRoot)
            throw std::runtime_error("disk gone");
        return targetPath.empty() ? u"C:\\Users\\u\\Desktop" : Utf8ToUtf16(targetPath);
    }
    bool QueryFreeBytes(const std::u16string&, uint64_t& out, uint32_t& systemError) override {
        out = freeBytes;
        systemError = diskOk ? 0 : 5;
        return diskOk;
    }
    bool DownloadItem(const std::string&, const ManifestItem& item, const std::u16string&,
                      bool conflictRename, const Progress& report, std::string& error) override {
        Record("download " + item.path);
        downloadRename.push_back(conflictRename);
        const Download script = downloads.count(item.path) ? downloads[item.path] : Download{};
        for (size_t i = 0; i < script.steps.size(); ++i) {
            if (onStep)
                onStep(item.path, i);
            if (!report(script.steps[i], item.size)) {
                error = "canceled";
                return false;
            }
        }
        error = script.error;
        if (afterDownload)
            afterDownload(item.path);
        return script.ok;
    }

    void UiStart(uint64_t id, std::u16string_view name, uint64_t total) override {
        Record("ui.start " + std::to_string(id) + " " + Utf16ToUtf8(name) + " " + std::to_string(total));
    }
    void UiProgress(uint64_t, std::u16string_view, uint64_t, uint64_t, uint64_t, uint64_t) override {}
    void UiItems(uint64_t, uint32_t, uint32_t) override {}
    void UiComplete(uint64_t, std::u16string_view text) override {
        Record("ui.complete " + Utf16ToUtf8(text));
    }
    void UiFail(uint64_t, std::u16string_view text) override { Record("ui.fail " + Utf16ToUtf8(text)); }
    void UiCancel(uint64_t, std::u16string_view text) override { Record("ui.cancel " + Utf16ToUtf8(text)); }
    bool UiShouldStop(uint64_t) override { return stop.load(); }
    bool UiEnglish() override { return english; }

    void PublishProgress(const FileProgressReport& report, uint64_t correlationId) override {
        EXPECT_EQ(correlationId, 77u);
        std::lock_guard<std::mutex> lock(mutex);
        progress.push_back(report);
    }
    void PublishDone(const FileResultReport& report, uint64_t) override {
        Record("done " + std::to_string(report.errorCode) + " " + report.message);
    }
    void PublishError(const FileResultReport& report, uint64_t) override {
        Record("error " + std::to_string(report.transferId) + " " + std::to_string(report.errorCode) + " " +
               report.message);
        std::lock_guard<std::mutex> lock(mutex);
        errors.push_back(report);
    }
    void PublishCancel(uint64_t id, std::string_view reason, uint64_t) override {
        Record("cancel " + std::to_string(id) + " " + std::string(reason));
    }
    void SetDownloading(bool active) override { Record(active ? "downloading 1" : "downloading 0"); }
    void SetDownloadFolder(const std::string& folder) override { Record("folder " + folder); }
    uint32_t TickMs() override {
        tick += tickStep;
        return tick;
    }

    void Record(const std::string& call) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(call);
    }
    bool Called(const std::string& prefix) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const std::string& call : calls)
            if (call.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
};

ManifestItem File(const std::string& path, uint64_t size) {
    ManifestItem item;
    item.path = path;
    item.size = size;
    item.url = "/file?id=9&path=" + path;
    return item;
}

class ReceiveWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        info.transferId = 9;
        info.totalBytes = 300;
        info.itemCount = 2;
        info.manifestUrl = "http://10.0.0.2:5555/manifest?id=9";
        info.conflictRename = true;
        ports.items = {File("a.txt", 100), File("dir\\b.txt", 200)};
        admission.SetRunning(true);
        uint64_t active = 0;
        ASSERT_TRUE(admission.TryAcquire(9, active));
    }
    void TearDown() override { Log::Close(); }

    ReceiveOutcome Run() { return RunReceiveWorker(info, 77, admission, ports); }
    // The calls that end a transfer (reports to the sender and the model), in order.
    std::vector<std::string> Ending() {
        std::vector<std::string> out;
        for (const std::string& call : ports.calls)
            if (call.rfind("done", 0) == 0 || call.rfind("error", 0) == 0 || call.rfind("cancel", 0) == 0 ||
                call.rfind("ui.", 0) == 0)
                out.push_back(call);
        return out;
    }

    HttpBeginInfo info;
    FakePorts ports;
    ReceiveAdmission admission;
};

TEST_F(ReceiveWorkerTest, SuccessReportsEveryItemThenDoneAndGivesTheSlotBack) {
    ports.downloads["dir\\b.txt"] = {{50, 200}, true, ""};

    EXPECT_EQ(Run(), ReceiveOutcome::Done);

    const std::vector<std::string> expected = {"downloading 1",
                                               "manifest http://10.0.0.2:5555/manifest?id=9",
                                               "root ",
                                               "folder C:\\Users\\u\\Desktop",
                                               "ui.start 9 HTTP file download 300",
                                               "download a.txt",
                                               "download dir\\b.txt",
                                               "done 0 downloadDir=C:\\Users\\u\\Desktop",
                                               "ui.complete 文件已下载到：C:\\Users\\u\\Desktop",
                                               "downloading 0"};
    EXPECT_EQ(ports.calls, expected);
    EXPECT_EQ(ports.downloadRename, (std::vector<bool>{true, true})) << "the transfer's own conflict rule";
    // a: start (0) and end; b: start (0), 50 and 200 are inside 250 ms but 200 completes it, then the end.
    ASSERT_EQ(ports.progress.size(), 5u);
    EXPECT_EQ(ports.progress[0].doneBytes, 0u);
    EXPECT_EQ(ports.progress[0].currentIndex, 1u);
    EXPECT_EQ(ports.progress[1].doneBytes, 100u);
    EXPECT_EQ(ports.progress[1].currentPath, "a.txt");
    EXPECT_EQ(ports.progress[2].doneBytes, 100u);
    EXPECT_EQ(ports.progress[2].currentIndex, 2u);
    EXPECT_EQ(ports.progress[3].doneBytes, 300u);
    EXPECT_EQ(ports.progress[3].currentDoneBytes, 200u);
    EXPECT_EQ(ports.progress[4].doneBytes, 300u);
    for (const FileProgressReport& report : ports.progress) {
        EXPECT_EQ(report.transferId, 9u);
        EXPECT_EQ(report.totalBytes, 300u);
        EXPECT_EQ(report.itemCount, 2u);
    }
    EXPECT_EQ(admission.ActiveId(), 0u);
    EXPECT_EQ(CountLogMessages("[HTTP][DONE] id=9 bytes=300 saveDir=C:\\Users\\u\\Desktop"), 1u);
}

TEST_F(ReceiveWorkerTest, ProgressBetweenStartAndEndIsThrottledTo250Ms) {
    ports.items = {File("big.bin", 1000)};
    info.totalBytes = 1000;
    ports.downloads["big.bin"] = {{100, 200, 300, 400, 500, 600, 700}, true, ""};
    ports.tickStep = 100; // every tick read is 100 ms after the last

    EXPECT_EQ(Run(), ReceiveOutcome::Done);

    std::vector<uint64_t> published;
    for (const FileProgressReport& report : ports.progress)
        published.push_back(report.currentDoneBytes);
    EXPECT_EQ(published, (std::vector<uint64_t>{0, 300, 600, 1000}));
}

TEST_F(ReceiveWorkerTest, ZeroTotalUsesTheSumOfTheItemsAndProgressNeverPassesIt) {
    info.totalBytes = 0;
    ports.downloads["a.txt"] = {{5000}, true, ""}; // the server sends more than announced

    EXPECT_EQ(Run(), ReceiveOutcome::Done);
    EXPECT_TRUE(ports.Called("ui.start 9 HTTP file download 300"));
    for (const FileProgressReport& report : ports.progress) {
        EXPECT_LE(report.doneBytes, 300u);
        EXPECT_LE(report.currentDoneBytes, report.currentTotalBytes);
    }
}

struct FailCase {
    const char* name;
    std::function<void(FakePorts&)> arrange;
    std::vector<std::string> ending;
    bool downloads;
};

class ReceiveWorkerFailures : public ReceiveWorkerTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(ReceiveWorkerFailures, EndWithTheTransfersOwnReason) {
    const FailCase& c = GetParam();
    c.arrange(ports);

    EXPECT_EQ(Run(), ReceiveOutcome::Failed);

    EXPECT_EQ(Ending(), c.ending);
    EXPECT_EQ(ports.Called("download "), c.downloads);
    EXPECT_EQ(ports.calls.back(), "downloading 0");
    EXPECT_EQ(admission.ActiveId(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReceiveWorkerFailures,
    ::testing::Values(FailCase{"ManifestNotFetched",
                               [](FakePorts& p) {
                                   p.manifestOk = false;
                                   p.manifestError = "connect failed";
                               },
                               {"error 9 500 download manifest failed | connect failed",
                                "ui.fail download manifest failed | connect failed"},
                               false},
                      FailCase{"ManifestWithASkippedItem",
                               [](FakePorts& p) { p.skipped = 1; },
                               {"error 9 500 parse manifest failed", "ui.fail parse manifest failed"},
                               false},
                      FailCase{"ManifestWithoutItems",
                               [](FakePorts& p) { p.items.clear(); },
                               {"error 9 500 parse manifest failed", "ui.fail parse manifest failed"},
                               false},
                      FailCase{"UnsafeNameAfterSafeOnes",
                               [](FakePorts& p) { p.items.push_back(File("..\\..\\evil.txt", 1)); },
                               {"error 9 500 unsafe manifest path: ..\\..\\evil.txt",
                                "ui.fail unsafe manifest path: ..\\..\\evil.txt"},
                               false},
                      FailCase{"DiskQueryFailed",
                               [](FakePorts& p) { p.diskOk = false; },
                               {"ui.fail 无法检查目标磁盘空间", "error 9 500 disk free space query failed",
                                "ui.fail disk free space query failed"},
                               false},
                      FailCase{"DiskTooSmall",
                               [](FakePorts& p) { p.freeBytes = 299; },
                               {"ui.fail 空间不足 Need:300 bytes Free:299 bytes",
                                "error 9 500 disk space not enough", "ui.fail disk space not enough"},
                               false},
                      FailCase{"ItemFailedWithTheClientsReason",
                               [](FakePorts& p) {
                                   p.downloads["dir\\b.txt"] = {{10}, false, "recv file interrupted"};
                               },
                               {"ui.start 9 HTTP file download 300",
                                "error 9 500 download file failed: dir\\b.txt | recv file interrupted",
                                "ui.fail download file failed: dir\\b.txt | recv file interrupted"},
                               true},
                      // The word in a reason decides nothing: only a stop request makes a cancel.
                      FailCase{"ReasonSayingCanceledIsStillAnError",
                               [](FakePorts& p) {
                                   p.downloads["a.txt"] = {{}, false, "canceled by server"};
                               },
                               {"ui.start 9 HTTP file download 300",
                                "error 9 500 download file failed: a.txt | canceled by server",
                                "ui.fail download file failed: a.txt | canceled by server"},
                               true},
                      FailCase{"ExceptionInsideTheWorker",
                               [](FakePorts& p) { p.throwOnRoot = true; },
                               {"error 9 500 receiver worker exception", "ui.fail receiver worker exception"},
                               false}),
    [](const ::testing::TestParamInfo<FailCase>& info) { return std::string(info.param.name); });

TEST_F(ReceiveWorkerTest, UnsafeNameFailsBeforeAnyFolderIsMade) {
    ports.items.insert(ports.items.begin(), File("CON", 1));
    ports.items.push_back(File("x", 1));
    EXPECT_EQ(Run(), ReceiveOutcome::Failed);
    EXPECT_FALSE(ports.Called("root ")) << "nothing is created for a hostile manifest";
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][ERR] unsafe manifest path id=9 path=CON"), 1u);
}

TEST_F(ReceiveWorkerTest, UserCancelDuringAnItemEndsAsCancelled) {
    ports.downloads["a.txt"] = {{10, 20, 30}, true, ""};
    ports.onStep = [&](const std::string&, size_t step) {
        if (step == 1)
            ports.stop = true; // the progress window's Cancel
    };

    EXPECT_EQ(Run(), ReceiveOutcome::Canceled);

    EXPECT_EQ(Ending(),
              (std::vector<std::string>{"ui.start 9 HTTP file download 300", "cancel 9 transfer cancelled",
                                        "ui.cancel Transfer canceled by user."}));
    EXPECT_FALSE(ports.Called("download dir\\b.txt"));
    EXPECT_TRUE(ports.errors.empty());
    EXPECT_EQ(CountLogMessages(
                  "[HTTP][CANCEL] FileHttpReceiveManager worker canceled id=9 reason=transfer cancelled"),
              1u);
}

TEST_F(ReceiveWorkerTest, CancelTextFollowsTheLanguage) {
    ports.english = false;
    ports.stop = true;
    EXPECT_EQ(Run(), ReceiveOutcome::Canceled);
    EXPECT_TRUE(ports.Called("ui.cancel 文件传输已取消。"));
}

TEST_F(ReceiveWorkerTest, StopDuringATransferCancelsItAndANewerTransferKeepsItsSlot) {
    ports.downloads["a.txt"] = {{10, 20}, true, ""};
    ports.onStep = [&](const std::string&, size_t step) {
        if (step != 1)
            return;
        // Stop, Start and a new begin while this worker is still inside its download.
        admission.SetRunning(false);
        admission.Clear();
        admission.SetRunning(true);
        uint64_t active = 0;
        EXPECT_TRUE(admission.TryAcquire(10, active));
    };

    EXPECT_EQ(Run(), ReceiveOutcome::Canceled);

    EXPECT_TRUE(ports.Called("cancel 9 transfer cancelled"));
    EXPECT_EQ(admission.ActiveId(), 10u) << "the old worker's end must not free the newer transfer's slot";
}

TEST_F(ReceiveWorkerTest, StoppedManagerCancelsBeforeTheNextItem) {
    ports.afterDownload = [&](const std::string& path) {
        if (path == "a.txt")
            admission.SetRunning(false);
    };
    EXPECT_EQ(Run(), ReceiveOutcome::Canceled);
    EXPECT_TRUE(ports.Called("download a.txt"));
    EXPECT_FALSE(ports.Called("download dir\\b.txt"));
    EXPECT_TRUE(ports.Called("cancel 9 transfer cancelled"));
}

class AdmitBeginTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        admission.SetRunning(true);
    }
    void TearDown() override { Log::Close(); }

    static std::string Payload(uint64_t id, const std::string& extra = "") {
        return "mode=http_manifest\ntransferId=" + std::to_string(id) +
               "\nmanifestUrl=http://10.0.0.2:1/manifest\n" + extra;
    }

    FakePorts ports;
    ReceiveAdmission admission;
    HttpBeginInfo info;
};

TEST_F(AdmitBeginTest, PeerBeginGetsThisPcsFolderAndConflictRule) {
    ASSERT_EQ(AdmitBegin(Payload(5, "targetPath=C:\\\\Windows\nconflict=rename"), BeginOrigin::Peer, false, 0,
                         admission, ports, info),
              BeginResult::Started);
    EXPECT_EQ(info.targetPath, "");
    EXPECT_FALSE(info.conflictRename);
    EXPECT_EQ(admission.ActiveId(), 5u);
    EXPECT_EQ(CountLogMessages(
                  "[HTTP][CLIENT] peer begin settings ignored id=5 targetPath=C:\\Windows conflict=rename"),
              1u);
}

TEST_F(AdmitBeginTest, PeerBeginMatchingThisPcIsNotLogged) {
    ASSERT_EQ(AdmitBegin(Payload(5, "targetPath=\nconflict=rename"), BeginOrigin::Peer, true, 0, admission,
                         ports, info),
              BeginResult::Started);
    EXPECT_TRUE(info.conflictRename);
    EXPECT_EQ(CountLogMessages("settings ignored"), 0u);
}

TEST_F(AdmitBeginTest, LocalBeginKeepsItsFolder) {
    ASSERT_EQ(AdmitBegin(Payload(5, "targetPath=D:\\\\drop\nconflict=overwrite"), BeginOrigin::Local, true, 0,
                         admission, ports, info),
              BeginResult::Started);
    EXPECT_EQ(info.targetPath, "D:\\drop");
    EXPECT_FALSE(info.conflictRename) << "the local payload already carries this PC's rule";
}

TEST_F(AdmitBeginTest, InvalidOrStoppedIsNotAnswered) {
    EXPECT_EQ(AdmitBegin("mode=http_manifest \ntransferId=5\nmanifestUrl=u", BeginOrigin::Peer, false, 0,
                         admission, ports, info),
              BeginResult::Invalid);
    EXPECT_EQ(CountLogMessages("FileHttpReceiveManager invalid file.http.begin payload"), 1u);
    admission.SetRunning(false);
    EXPECT_EQ(AdmitBegin(Payload(5), BeginOrigin::Peer, false, 0, admission, ports, info),
              BeginResult::NotRunning);
    EXPECT_TRUE(ports.calls.empty());
    EXPECT_EQ(admission.ActiveId(), 0u);
}

TEST_F(AdmitBeginTest, TwoSimultaneousBeginsGetExactlyOneBusyAnswer) {
    for (int round = 0; round < 50; ++round) {
        FakePorts roundPorts;
        ReceiveAdmission roundAdmission;
        roundAdmission.SetRunning(true);
        std::atomic<int> accepted{0}, refusedBusy{0};
        auto begin = [&](uint64_t id) {
            HttpBeginInfo mine;
            const BeginResult result =
                AdmitBegin(Payload(id), BeginOrigin::Peer, false, 0, roundAdmission, roundPorts, mine);
            if (result == BeginResult::Started)
                ++accepted;
            else if (result == BeginResult::Busy)
                ++refusedBusy;
        };
        std::thread first(begin, 100);
        std::thread second(begin, 200);
        first.join();
        second.join();
        ASSERT_EQ(accepted.load(), 1);
        ASSERT_EQ(refusedBusy.load(), 1) << "the loser is told busy, not started nor failed";
        ASSERT_EQ(roundPorts.errors.size(), 1u);
        const FileResultReport& busy = roundPorts.errors.front();
        EXPECT_EQ(busy.errorCode, 409);
        EXPECT_EQ(busy.message, "receiver busy");
        EXPECT_NE(busy.transferId, roundAdmission.ActiveId())
            << "the rejected one is answered, not the winner";
    }
    EXPECT_EQ(CountLogMessages("FileHttpReceiveManager busy active="), 50u);
}

TEST_F(AdmitBeginTest, StartedWorkerRunsTheTransferAndAWorkerThatCannotStartFreesTheSlot) {
    auto shared = std::make_shared<FakePorts>();
    shared->manifestOk = false;
    std::function<void()> held;
    auto holdIt = [&](std::function<void()> body, std::string&) {
        held = std::move(body);
        return true;
    };
    ASSERT_EQ(StartReceive(Payload(5), BeginOrigin::Peer, false, 0, admission, shared, holdIt),
              BeginResult::Started);
    EXPECT_EQ(admission.ActiveId(), 5u);
    held();
    EXPECT_TRUE(shared->Called("error 5 500 download manifest failed"));
    EXPECT_EQ(admission.ActiveId(), 0u);

    auto refuse = [](std::function<void()>, std::string& error) {
        error = "Resource temporarily unavailable";
        return false;
    };
    EXPECT_EQ(StartReceive(Payload(6), BeginOrigin::Peer, false, 0, admission, shared, refuse),
              BeginResult::NoWorker);
    EXPECT_EQ(admission.ActiveId(), 0u) << "a later begin must not be answered \"receiver busy\"";
    EXPECT_TRUE(shared->Called("error 6 500 receiver worker start failed"));
    EXPECT_EQ(CountLogMessages("[HTTP][FAIL] FileHttpReceiveManager worker start failed id=6 err=Resource "
                               "temporarily unavailable"),
              1u);
    EXPECT_EQ(StartReceive(Payload(7), BeginOrigin::Peer, false, 0, admission, shared, holdIt),
              BeginResult::Started);
}

} // namespace
