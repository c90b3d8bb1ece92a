#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ClassedTestWindow.h"
#include "ClipboardPeer.h"
#include "HdropBuilder.h"
#include "LogAssertions.h"
#include "RawHttp.h"
#include "TestPaths.h"
#include "TestWait.h"
#include "core/CommandBus.h"
#include "core/ConfigService.h"
#include "core/win/Handles.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/FileTransferText.h"
#include "transfer/FileTransferUi.h"
#include "transfer/HttpUrl.h"
#include "transfer/ManifestReader.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileHttpReceiveManager.h"
#include "transfer/win/FileHttpServer.h"

// What a local copy, cut, paste or drop sends over the real clipboard channel, with the real HTTP server,
// receive manager and shell resolver behind it; the test plays the peer with a raw loopback socket.
namespace {

using namespace clipboard_peer;
namespace fs = std::filesystem;

bool OnlyLoopback(const std::string& ip) {
    return ip == kLoopback;
}

HGLOBAL Block(const void* bytes, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (block != nullptr) {
        ScopedGlobalLock lock(block);
        std::memcpy(lock.Get(), bytes, size);
    }
    return block;
}

HGLOBAL TextBlock(const std::u16string& text) {
    return Block(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Bytes that differ from one offset to the next, so a shifted or repeated block shows.
std::string Pattern(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + seed) ^ (i >> 9));
    return bytes;
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class ClipboardSendingTest : public ClipboardPeerTest {
protected:
    // A text or image the channel received in an earlier test arms the echo guard for a second.
    static void SetUpTestSuite() { ::Sleep(1100); }

    void SetUp() override {
        ClipboardPeerTest::SetUp();
        m_owner =
            ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
        m_root = fs::temp_directory_path() / (L"tsly-clipsend-" + std::to_wstring(::GetCurrentProcessId()) +
                                              L"-" + std::to_wstring(++s_run));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        FileHttpTransferManager::Instance().SetPeerFilter(OnlyLoopback);
        channel.SetPeerFilter(OnlyLoopback);
        const uint16_t port = StartHost();
        m_peer = Connected(port);
        ASSERT_TRUE(m_peer.Valid());
        ASSERT_TRUE(WaitUntil([&] { return channel.IsConnected(); }, kWaitMs));
    }
    void TearDown() override {
        m_peer.Reset();
        ClipboardPeerTest::TearDown();
        FileHttpTransferManager::Instance().SetPeerFilter(nullptr);
        EmptyTheClipboard();
        if (m_owner != nullptr)
            ::DestroyWindow(m_owner);
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    // Puts the formats on the clipboard as a program that copies would, then tells the channel as the
    // clipboard listener does.
    void CopyAndNotify(const std::vector<std::pair<UINT, HANDLE>>& formats) {
        {
            ScopedClipboard clipboard(m_owner);
            ASSERT_TRUE(clipboard.IsOpen());
            ::EmptyClipboard();
            for (const auto& [format, data] : formats)
                ASSERT_NE(::SetClipboardData(format, data), nullptr) << format;
        }
        channel.OnLocalClipboardUpdate(m_owner);
    }
    // The next message at the peer; fails the test when none came.
    ClipboardMessage Next(DWORD timeoutMs = kWaitMs) {
        ClipboardMessage message;
        EXPECT_EQ(Receive(m_peer.Get(), message, timeoutMs), Got::Message);
        return message;
    }
    void ExpectOfferClear(const ClipboardMessage& message) {
        EXPECT_EQ(message.header.type, Type(ClipboardMessageType::CB_FILE_OFFER));
        EXPECT_EQ(message.header.id, 0u);
        EXPECT_EQ(PayloadText(message), kClipboardOfferClearToken);
    }
    void ExpectNothingMore(DWORD forMs = 400) {
        ClipboardMessage message;
        EXPECT_EQ(Receive(m_peer.Get(), message, forMs), Got::TimedOut)
            << "unexpected message type=" << message.header.type;
    }

    static inline int s_run = 0;
    HWND m_owner = nullptr;
    fs::path m_root;
    UniqueSocket m_peer;
};

TEST_F(ClipboardSendingTest, CopiedTextReachesThePeerAfterTheOfferClear) {
    const std::u16string text = u"Grüße 你好";
    CopyAndNotify({{CF_UNICODETEXT, TextBlock(text)}});
    ExpectOfferClear(Next());
    const ClipboardMessage sent = Next();
    EXPECT_EQ(sent.header.type, Type(ClipboardMessageType::CB_TEXT));
    EXPECT_EQ(PayloadText(sent), Utf16Bytes(text) + std::string(2, '\0'));
    EXPECT_EQ(sent.header.a, sent.payload.size());
    EXPECT_TRUE(
        InOrder(LogSince(), {"[CLIP][PROBE] files=0", "text=1 connected=1",
                             "Clipboard sent CF_UNICODETEXT bytes=" + std::to_string(sent.payload.size()),
                             "Clipboard progress: Clipboard text sent"}));
}

TEST_F(ClipboardSendingTest, CopiedImageReachesThePeerAsItsDib) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = 16;
    std::string dib(reinterpret_cast<const char*>(&info), sizeof info);
    dib += std::string("\x01\x02\x03\x00\x04\x05\x06\x00\x07\x08\x09\x00\x0A\x0B\x0C\x00", 16);
    // An image with a text beside it (as a browser copies one) is sent as the image.
    CopyAndNotify({{CF_DIB, Block(dib.data(), dib.size())}, {CF_UNICODETEXT, TextBlock(u"alt text")}});
    ExpectOfferClear(Next());
    const ClipboardMessage sent = Next();
    EXPECT_EQ(sent.header.type, Type(ClipboardMessageType::CB_IMAGE));
    EXPECT_EQ(sent.header.c, static_cast<uint32_t>(ClipboardImageFormat::Dib));
    ASSERT_GE(sent.payload.size(), dib.size());
    EXPECT_EQ(PayloadText(sent).substr(0, dib.size()), dib);
    ExpectNothingMore();
}

// A copied file list empties the peer's clipboard and offers the files; the offer's manifest address serves
// them from this PC's HTTP server.
TEST_F(ClipboardSendingTest, CopiedFilesAreOfferedAndServedByTheManifestAddress) {
    const std::string alpha = "alpha contents";
    const std::string beta = Pattern(200000, 7);
    WriteBytes(m_root / L"Alpha {x}.txt", alpha);
    WriteBytes(m_root / L"Folder" / L"beta.bin", beta);
    CopyAndNotify(
        {{CF_HDROP,
          MakeHdrop({(m_root / L"Alpha {x}.txt").wstring(), (m_root / L"Folder").wstring()}, POINT{}, false)},
         {CF_UNICODETEXT, TextBlock(u"names as text")}});

    const ClipboardMessage clear = Next();
    EXPECT_EQ(clear.header.type, Type(ClipboardMessageType::CB_CLEAR_CLIPBOARD));
    EXPECT_EQ(PayloadText(clear), kClipboardClearRequestReason);
    const ClipboardMessage offer = Next();
    ASSERT_EQ(offer.header.type, Type(ClipboardMessageType::CB_FILE_OFFER));
    const std::string payload = PayloadText(offer);
    EXPECT_EQ(ReadPayloadNumber(payload, "transferId"), offer.header.id);
    EXPECT_EQ(ReadPayloadNumber(payload, "itemCount"), 3u);
    EXPECT_EQ(ReadPayloadNumber(payload, "totalBytes"), alpha.size() + beta.size());
    ExpectNothingMore();

    const std::string manifestUrl = ReadPayloadText(payload, "manifestUrl");
    ParsedUrl url;
    ASSERT_TRUE(HttpClient::ParseUrl(manifestUrl, url)) << manifestUrl;
    EXPECT_EQ(url.host, kLoopback) << "the address the peer reached this PC on";
    EXPECT_EQ(url.path, "/manifest?id=" + std::to_string(offer.header.id));
    const raw_http::RawResponse manifest = raw_http::Get(static_cast<uint16_t>(url.port), url.path);
    ASSERT_EQ(manifest.Status(), "HTTP/1.1 200 OK");
    std::vector<ManifestItem> items;
    size_t skipped = 0;
    ASSERT_TRUE(ParseManifest(manifest.Body(), items, skipped)) << manifest.Body();
    EXPECT_EQ(skipped, 0u);
    std::vector<std::pair<std::string, std::string>> served;
    for (const ManifestItem& item : items) {
        if (item.dir) {
            served.emplace_back(item.path + "/", "");
            continue;
        }
        const raw_http::RawResponse file = raw_http::Get(static_cast<uint16_t>(url.port), item.url);
        EXPECT_EQ(file.Status(), "HTTP/1.1 200 OK") << item.path;
        served.emplace_back(item.path, file.Body());
    }
    std::sort(served.begin(), served.end());
    EXPECT_EQ(served, (std::vector<std::pair<std::string, std::string>>{
                          {"Alpha {x}.txt", alpha}, {"Folder/", ""}, {"Folder/beta.bin", beta}}));
    EXPECT_TRUE(InOrder(LogSince(), {"[CLIP][PROBE] files=1", "[CLIP][CLEAR_SEND] ok=1",
                                     "[CLIPFILE][OFFER] id=" + std::to_string(offer.header.id) + " count=2",
                                     "Clipboard CF_HDROP offer sent for Ctrl+C file paste"}));
}

// A cut is never offered (the files would go here while the peer may never paste them): the peer only
// forgets the offer it held.
TEST_F(ClipboardSendingTest, CutFilesSendOnlyTheOfferClear) {
    WriteBytes(m_root / L"cut.txt", "cut");
    const DWORD move = DROPEFFECT_MOVE;
    CopyAndNotify({{CF_HDROP, MakeHdrop({(m_root / L"cut.txt").wstring()}, POINT{}, false)},
                   {::RegisterClipboardFormatW(L"Preferred DropEffect"), Block(&move, sizeof move)}});
    ExpectOfferClear(Next());
    ExpectNothingMore();
    EXPECT_TRUE(InOrder(LogSince(), {"cut=1 paths=1", "[CLIPFILE][OFFER][CLEAR_SEND] ok=1",
                                     "[CLIPFILE][OFFER] ignored Ctrl+X/move clipboard; copy-only policy"}));
}

// Text the peer sent lands on this clipboard, and the clipboard update that causes is not sent back; once the
// guard has passed, a copy goes out again.
TEST_F(ClipboardSendingTest, ReceivedTextIsNotEchoedBack) {
    const std::u16string text = u"from the peer";
    ASSERT_TRUE(
        Send(m_peer.Get(), ClipboardMessageType::CB_TEXT, 1, 0, Utf16Bytes(text) + std::string(2, '\0')));
    ASSERT_TRUE(WaitLog("Clipboard received text bytes="));
    const DWORD received = ::GetTickCount();
    channel.OnLocalClipboardUpdate(m_owner);
    ASSERT_LT(::GetTickCount() - received, 900u) << "too slow to fall within the guard";
    ExpectNothingMore();
    EXPECT_TRUE(WaitLog("Clipboard local update ignored to prevent echo"));

    ::Sleep(1100);
    channel.OnLocalClipboardUpdate(m_owner);
    ExpectOfferClear(Next());
    const ClipboardMessage sent = Next();
    EXPECT_EQ(sent.header.type, Type(ClipboardMessageType::CB_TEXT));
    EXPECT_EQ(PayloadText(sent), Utf16Bytes(text) + std::string(2, '\0'));
}

// Ctrl+V over the desktop with the peer's file offer cached: the files come over HTTP into the desktop
// folder, byte for byte, and the peer hears that they are done.
TEST_F(ClipboardSendingTest, PasteOfThePeersOfferDownloadsIntoTheFolderUnderTheCursor) {
    const std::wstring tag =
        std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount());
    const fs::path source = m_root / L"peer";
    const std::wstring fileName = L"tsly-paste-" + tag + L".txt";
    const std::wstring dirName = L"tsly-paste-" + tag;
    const std::string small = "pasted text file";
    const std::string large = Pattern(3 * 1024 * 1024 + 17, 3);
    WriteBytes(source / fileName, small);
    WriteBytes(source / dirName / L"inner.bin", large);

    // The peer's side of the offer: its own manager and server on loopback.
    FileHttpTransferManager peerManager;
    peerManager.SetPeerFilter(OnlyLoopback);
    uint64_t transferId = 0;
    std::string offer;
    ASSERT_TRUE(peerManager.BeginOffer({(source / fileName).wstring(), (source / dirName).wstring()},
                                       kLoopback, "", transferId, offer));
    ASSERT_TRUE(Send(m_peer.Get(), ClipboardMessageType::CB_FILE_OFFER, transferId, 0, offer));
    ASSERT_TRUE(WaitLog("[CLIPFILE][REMOTE_OFFER] cached id=" + std::to_string(transferId) + " count=3"));
    ASSERT_TRUE(channel.HasRemoteFileOffer());

    FileHttpReceiveManager& receiver = FileHttpReceiveManager::Instance();
    ASSERT_TRUE(receiver.Start());
    ClassedTestWindow desktop(L"Progman", RECT{300, 200, 700, 500});
    ASSERT_NE(desktop.Handle(), nullptr);
    ASSERT_TRUE(::SetCursorPos(500, 350));
    wchar_t desktopPath[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(
        ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktopPath)));
    const fs::path target = desktopPath;

    ASSERT_TRUE(channel.QueueRemoteFilesPaste());
    // Serve the bus (the receiver's reports go to the peer through it) until the peer hears the end.
    ClipboardMessage status;
    ClipboardMessageFramer framer;
    bool ended = false;
    const DWORD start = ::GetTickCount();
    while (!ended && ::GetTickCount() - start < 30000) {
        ClassedTestWindow::Pump();
        CommandBus::Instance().Drain();
        ClipboardMessage message;
        if (Receive(m_peer.Get(), framer, message, 20) != Got::Message)
            continue;
        if (message.header.type == Type(ClipboardMessageType::CB_TRANSFER_STATUS) &&
            message.header.c != static_cast<uint32_t>(TransferStatusFlags::Progress)) {
            status = std::move(message);
            ended = true;
        }
    }
    const std::string pastedSmall = ReadWholeFile((target / fileName).wstring());
    const std::string pastedLarge = ReadWholeFile((target / dirName / L"inner.bin").wstring());
    std::error_code ignored;
    fs::remove(target / fileName, ignored);
    fs::remove_all(target / dirName, ignored);
    receiver.Stop();
    peerManager.StopServer();

    ASSERT_TRUE(ended) << LogSince();
    EXPECT_EQ(status.header.id, transferId);
    EXPECT_EQ(status.header.c, static_cast<uint32_t>(TransferStatusFlags::Done)) << PayloadText(status);
    EXPECT_EQ(pastedSmall, small);
    EXPECT_TRUE(pastedLarge == large) << "inner.bin differs: " << pastedLarge.size() << " bytes";
    EXPECT_FALSE(channel.HasRemoteFileOffer()) << "an offer is pasted once";
    EXPECT_TRUE(InOrder(LogSince(), {"[CLIPFILE][PASTE_ASYNC] queued id=" + std::to_string(transferId),
                                     "FileTransfer target desktop from shell window: " + Utf8(target),
                                     "[CLIPFILE][TARGET]", "isDir=1 allow=1",
                                     "[TRANSFER][ACCEPT] http target=" + Utf8(target) + " ok=1"}));
}

// Dropped files are announced to the peer with an HTTP begin, and the transfer shows as sending.
TEST_F(ClipboardSendingTest, DroppedFilesAreAnnouncedWithAnHttpBegin) {
    const std::string bytes = Pattern(5000, 1);
    WriteBytes(m_root / L"dropped.bin", bytes);
    channel.QueueDroppedFiles({(m_root / L"dropped.bin").wstring()});
    const ClipboardMessage begin = Next();
    ASSERT_EQ(begin.header.type, Type(ClipboardMessageType::CB_HTTP_BEGIN));
    const std::string payload = PayloadText(begin);
    EXPECT_EQ(ReadPayloadNumber(payload, "transferId"), begin.header.id);
    EXPECT_EQ(ReadPayloadNumber(payload, "totalBytes"), bytes.size());
    EXPECT_EQ(ReadPayloadText(payload, "displayName"), "dropped.bin");
    FileTransferSnapshot snapshot;
    ASSERT_TRUE(FileTransferUi::Instance().Snapshot(snapshot));
    EXPECT_EQ(snapshot.phase, FileTransferPhase::Sending);
    EXPECT_EQ(snapshot.transferId, begin.header.id);
}

// Without a running channel a drop fails at once (a running but unconnected channel waits first; that wait
// is ClipboardWatchRulesTest's).
TEST_F(ClipboardSendingTest, DroppedFilesWithoutAChannelFailTheTransfer) {
    channel.Stop();
    WriteBytes(m_root / L"dropped.txt", "x");
    channel.QueueDroppedFiles({(m_root / L"dropped.txt").wstring()});
    FileTransferSnapshot snapshot;
    ASSERT_TRUE(WaitTransferPhase(FileTransferPhase::Error, snapshot));
    EXPECT_EQ(snapshot.message, TransferFailureText(u"Control channel not connected",
                                                    ConfigService::Instance().IsUiLanguageEnglish()));
    EXPECT_TRUE(
        InOrder(LogSince(),
                {"[TRANSFER][QUEUE] dropped-files count=1 running=0", "[TRANSFER][QUEUE][DEQUEUE] files=1",
                 "[TRANSFER][START][FAIL] control socket not connected running=0 files=1"}));
}

} // namespace
