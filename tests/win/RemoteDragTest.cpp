// Under Wine: the size walk behind a remote drag's offer on a real folder tree, and the controller's trigger
// reaching the real receive manager while it is busy with another transfer.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "LoopbackSocket.h"
#include "app/win/RemoteDragOfferSender.h"
#include "app/win/RemoteDragWiring.h"
#include "core/CommandBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragOfferText.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/DroppedPathSize.h"
#include "dragdrop/win/RemoteDragControlled.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/FileHttpReceiveManager.h"

namespace fs = std::filesystem;

namespace {

void WriteSized(const fs::path& path, size_t bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

class DroppedPathSizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / (L"tsly-rdsize-" + std::to_wstring(::GetCurrentProcessId()) +
                                              L"-" + std::to_wstring(::GetTickCount()));
        fs::create_directories(m_root);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const fs::path& link : m_links)
            ::RemoveDirectoryW(link.c_str()); // the link only, never what it points at
        fs::remove_all(m_root, ignored);
    }

    // A junction at link to target; false when this system cannot make one.
    bool MakeJunction(const fs::path& link, const fs::path& target, std::string& why) {
        if (!::CreateDirectoryW(link.c_str(), nullptr)) {
            why = "CreateDirectoryW failed gle=" + std::to_string(::GetLastError());
            return false;
        }
        m_links.push_back(link);
        UniqueHandle dir(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!dir.Valid()) {
            why = "open for reparse failed gle=" + std::to_string(::GetLastError());
            return false;
        }
        const std::wstring substitute = L"\\??\\" + target.wstring();
        const std::wstring print = target.wstring();
        const USHORT subBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
        const USHORT printBytes = static_cast<USHORT>(print.size() * sizeof(wchar_t));
        // REPARSE_DATA_BUFFER for a mount point: tag, length, reserved, four offsets, then both names with
        // their terminators.
        std::vector<uint8_t> buffer(8 + 8 + subBytes + 2 + printBytes + 2, 0);
        auto put16 = [&](size_t at, USHORT value) { std::memcpy(buffer.data() + at, &value, 2); };
        const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
        std::memcpy(buffer.data(), &tag, 4);
        put16(4, static_cast<USHORT>(buffer.size() - 8));
        put16(8, 0);
        put16(10, subBytes);
        put16(12, static_cast<USHORT>(subBytes + 2));
        put16(14, printBytes);
        std::memcpy(buffer.data() + 16, substitute.data(), subBytes);
        std::memcpy(buffer.data() + 16 + subBytes + 2, print.data(), printBytes);
        DWORD returned = 0;
        if (!::DeviceIoControl(dir.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                               static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr)) {
            why = "FSCTL_SET_REPARSE_POINT failed gle=" + std::to_string(::GetLastError());
            return false;
        }
        const DWORD attributes = ::GetFileAttributesW(link.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            why = "the junction does not show as a reparse point";
            return false;
        }
        return true;
    }

    // A junction, else a directory symbolic link (Wine 8 has no mount-point reparse data).
    bool MakeLink(const fs::path& link, const fs::path& target, std::string& why) {
        if (MakeJunction(link, target, why))
            return true;
        ::RemoveDirectoryW(link.c_str());
        if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                   SYMBOLIC_LINK_FLAG_DIRECTORY |
                                       SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
            why += "; CreateSymbolicLinkW failed gle=" + std::to_string(::GetLastError());
            return false;
        }
        const DWORD attributes = ::GetFileAttributesW(link.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            why += "; the symbolic link does not show as a reparse point";
            return false;
        }
        return true;
    }

    fs::path m_root;
    std::vector<fs::path> m_links;
};

TEST_F(DroppedPathSizeTest, AFolderIsTheSumOfItsFilesAtEveryLevel) {
    WriteSized(m_root / L"tree" / L"a.bin", 10);
    WriteSized(m_root / L"tree" / L"sub" / L"b.bin", 200);
    WriteSized(m_root / L"tree" / L"sub" / L"deeper" / L"c.bin", 3000);
    fs::create_directories(m_root / L"tree" / L"empty");
    WriteSized(m_root / L"single.txt", 77);

    bool folder = false;
    EXPECT_EQ(SumDroppedPaths((m_root / L"single.txt").wstring(), folder), 77u);
    EXPECT_FALSE(folder);
    EXPECT_EQ(SumDroppedPaths((m_root / L"tree").wstring(), folder), 3210u);
    EXPECT_TRUE(folder);
    folder = false;
    EXPECT_EQ(SumDroppedPaths((m_root / L"tree").wstring() + L"\\", folder), 3210u) << "a trailing separator";
    EXPECT_EQ(SumDroppedPaths((m_root / L"missing").wstring(), folder), 0u);
}

TEST_F(DroppedPathSizeTest, TheWalkStops64FoldersDeep) {
    fs::path deep = m_root / L"d";
    WriteSized(deep / L"top.bin", 5);
    for (int level = 1; level < 70; ++level)
        deep /= L"d";
    WriteSized(deep / L"bottom.bin", 1000);
    ASSERT_TRUE(fs::exists(deep / L"bottom.bin"));
    bool folder = false;
    EXPECT_EQ(SumDroppedPaths((m_root / L"d").wstring(), folder), 5u);
}

TEST_F(DroppedPathSizeTest, AJunctionIsNotFollowed) {
    WriteSized(m_root / L"elsewhere" / L"big.bin", 5000);
    WriteSized(m_root / L"tree" / L"own.bin", 40);
    std::string why;
    if (!MakeLink(m_root / L"tree" / L"link", m_root / L"elsewhere", why))
        GTEST_SKIP() << "no junction or directory link on this system: " << why;
    // A link back to its own parent would make an endless walk if it were followed.
    if (!MakeLink(m_root / L"tree" / L"loop", m_root / L"tree", why))
        GTEST_SKIP() << "no second link: " << why;
    bool folder = false;
    EXPECT_EQ(SumDroppedPaths((m_root / L"tree").wstring(), folder), 40u);
    EXPECT_EQ(SumDroppedPaths((m_root / L"tree" / L"link").wstring(), folder), 0u);
    EXPECT_TRUE(folder);
}

class RecordingOfferSender final : public IRemoteDragOfferSender {
public:
    void SendOffer(const std::vector<std::wstring>&, uint64_t, bool, const std::string&) override { ++sent; }
    int sent = 0;
};

TEST_F(DroppedPathSizeTest, ThePublishingWorkerSizesThePathsButSendsNoOfferThatWasCleared) {
    WriteSized(m_root / L"one.bin", 100);
    WriteSized(m_root / L"dir" / L"two.bin", 23);
    RuntimeStateReset();
    RecordingOfferSender sender;
    RemoteDragControlled::SetOfferSender(&sender);
    RemoteDragControlled::PublishPaths({(m_root / L"one.bin").wstring(), (m_root / L"dir").wstring()}, 12345);
    RemoteDragControlled::SetOfferSender(nullptr);
    const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
    RuntimeStateReset();
    EXPECT_TRUE(snapshot.localDragActive);
    EXPECT_EQ(snapshot.localDragCount, 2);
    EXPECT_EQ(snapshot.localDragBytes, 123u);
    EXPECT_EQ(snapshot.localDragFlag, 1) << "a folder among the paths";
    EXPECT_EQ(snapshot.localDragPath, WideToUtf8((m_root / L"one.bin").wstring().c_str()) + " +1");
    EXPECT_EQ(sender.sent, 0) << "gesture 12345 is not pending";
}

class RemoteDragTriggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Log::Open());
        RuntimeStateReset();
        RemoteDragSlot::Instance().Clear();
        ConnectRemoteDragServices();
        RuntimeSetRole(RuntimeRole::Controller);
        m_logStart = OwnLog().size();
    }
    void TearDown() override {
        FileHttpReceiveManager::Instance().Stop();
        FileHttpReceiveManager::Instance().SetPeerAddressSource({});
        SetRemoteDragOffer(nullptr);
        RemoteDragSlot::Instance().Clear();
        DragVisualOverlay::Stop();
        RuntimeStateReset();
        Log::Close();
    }
    std::string LogSince() const {
        Log::Flush();
        return OwnLogSince(m_logStart);
    }

    size_t m_logStart = 0;
};

TEST_F(RemoteDragTriggerTest, AnOfferWithoutTheChannelsLocalAddressIsNotPreparedOrSent) {
    // No connected clipboard channel, so no address the controller could reach this PC's files at: the
    // offer must fail rather than name a loopback address.
    RuntimeSetRole(RuntimeRole::Controlled);
    RemoteDragOfferSender sender;
    sender.SendOffer({L"C:\\windows\\win.ini"}, 10, false, "C:\\windows\\win.ini");
    const std::string log = LogSince();
    EXPECT_TRUE(InOrder(log, {"[RDRAG][SEND][ERR] no local address on the clipboard channel count=1",
                              "[RDRAG][SEND] id=1 transfer=0 count=1 bytes=10 folder=0 httpPayload=0 ok=0"}));
    EXPECT_EQ(CountOf(log, "[TRANSFER][OFFER]"), 0u) << "no transfer prepared";
    EXPECT_EQ(CountOf(log, "127.0.0.1"), 0u);
}

std::string BeginPayload(uint64_t transferId, uint16_t port) {
    return "mode=http_manifest\ntransferId=" + std::to_string(transferId) +
           "\nmanifestUrl=http://127.0.0.1:" + std::to_string(port) + "/manifest\n";
}

TEST_F(RemoteDragTriggerTest, AReceiverBusyWithAnotherTransferFailsTheTriggerAndKeepsTheOffer) {
    // The receiver's first transfer waits on a manifest server that accepts and never answers.
    UniqueSocket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const uint16_t port = ListenLoopback(listener.Get(), 4);
    ASSERT_NE(port, 0);
    FileHttpReceiveManager& receiver = FileHttpReceiveManager::Instance();
    receiver.SetPeerAddressSource([] { return std::string("127.0.0.1"); });
    ASSERT_TRUE(receiver.Start());
    ASSERT_EQ(receiver.BeginFromHttpBeginPayload(BeginPayload(77, port), ""), BeginResult::Started);
    UniqueSocket stalled = AcceptWithin(listener.Get(), 10000);
    ASSERT_TRUE(stalled.Valid()) << "the first transfer never asked for its manifest";

    RemoteDragOfferText::Fields offer;
    offer.id = 5;
    offer.count = 1;
    offer.bytes = 12;
    offer.detail = "C:\\peer\\a.txt";
    offer.httpPayload = BeginPayload(78, port);
    RemoteDragOffer().OnReceive(RemoteDragOfferText::Build(offer));
    ASSERT_TRUE(DragDrop::IsRemoteDragPending());

    EXPECT_FALSE(RemoteDragOffer().TriggerDownload(u""));
    const RemoteDragSlot::State state = RemoteDragSlot::Instance().Read();
    EXPECT_TRUE(state.held) << "a refused download leaves the offer for a later release";
    EXPECT_EQ(state.httpPayload, offer.httpPayload);
    EXPECT_NE(state.consumedDragId, 5u) << "not consumed";
    EXPECT_TRUE(InOrder(LogSince(), {"[RDRAG][RECV] id=5 count=1 bytes=12",
                                     "FileHttpReceiveManager busy active=77 reject=78",
                                     "[RDRAG][DROP] trigger download dragId=5 target= ok=0",
                                     "[RDRAG][DROP][FAIL] receiver busy; offer kept dragId=5"}));
    // The stalled transfer ends when its server goes away; its report must not reach a later test.
    stalled.Reset();
    receiver.Stop();
    const DWORD start = ::GetTickCount();
    std::string log;
    do {
        ::Sleep(20);
        log = LogSince();
    } while (log.find("worker canceled id=77") == std::string::npos &&
             log.find("worker failed id=77") == std::string::npos && ::GetTickCount() - start < 15000);
    CommandBus::Instance().Drain();
    FileTransferUi::Instance().Clear();
}

} // namespace
