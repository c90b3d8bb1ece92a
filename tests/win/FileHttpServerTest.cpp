#include <winsock2.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "RawHttp.h"
#include "TestWait.h"
#include "WinsockTest.h"
#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/Handles.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/ManifestJson.h"
#include "transfer/ManifestOffers.h"
#include "transfer/PercentCoding.h"
#include "transfer/win/FileHttpServer.h"

namespace {

namespace fs = std::filesystem;

using namespace raw_http;

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Utf8Path(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class FileHttpServerTest : public WinsockTest {
protected:
    void SetUp() override {
        WinsockTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root = fs::path(temp) / (L"tsly-http-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount()));
        fs::create_directories(root);
        server.SetPeerFilter([](const std::string& ip) { return ip == "127.0.0.1"; });
        ASSERT_TRUE(server.Start());
        port = server.Port();
        ASSERT_NE(port, 0);
    }
    void TearDown() override {
        server.Stop();
        std::error_code ignored;
        fs::remove_all(root, ignored);
        WinsockTest::TearDown();
    }

    std::shared_ptr<const ManifestOffer> Offer(uint64_t id, const std::vector<fs::path>& paths) {
        std::vector<std::wstring> wide;
        for (const fs::path& p : paths)
            wide.push_back(p.wstring());
        std::vector<ManifestEntry> entries;
        if (!FileHttpServer::BuildEntries(wide, entries))
            return nullptr;
        auto offer = MakeManifestOffer(id, std::move(entries));
        server.AddOffer(offer);
        return offer;
    }

    std::string FileTarget(uint64_t id, const fs::path& path) { return ManifestFileUrl(id, Utf8Path(path)); }

    fs::path root;
    FileHttpServer server;
    uint16_t port = 0;
};

TEST_F(FileHttpServerTest, ServesManifestAndFileOfADirectoryOffer) {
    fs::create_directories(root / "Tree" / "Empty");
    WriteFile(root / "Tree" / "a.txt", "alpha");
    auto offer = Offer(2600001, {root / "Tree"});
    ASSERT_NE(offer, nullptr);
    ASSERT_EQ(offer->entries.size(), 3u);
    std::vector<std::string> relative;
    for (const ManifestEntry& e : offer->entries)
        relative.push_back(e.relativePath);
    std::sort(relative.begin(), relative.end());
    EXPECT_EQ(relative, (std::vector<std::string>{"Tree", "Tree/Empty", "Tree/a.txt"}));

    RawResponse manifest = Get(port, "/manifest?id=2600001");
    EXPECT_EQ(manifest.Status(), "HTTP/1.1 200 OK");
    EXPECT_NE(manifest.Header().find("Content-Type: application/json; charset=utf-8\r\n"), std::string::npos);
    EXPECT_EQ(manifest.Body(), offer->json);

    RawResponse file = Get(port, FileTarget(2600001, root / "Tree" / "a.txt"));
    EXPECT_EQ(file.Status(), "HTTP/1.1 200 OK");
    EXPECT_NE(file.Header().find("Content-Length: 5\r\n"), std::string::npos);
    EXPECT_EQ(file.Body(), "alpha");
    EXPECT_TRUE(InOrder(WaitForOwnLog("[HTTP][SERVER] GET /file done", 3000),
                        {"[HTTP][DONE] id=", " size=5 actual=5 sent=5 path=Tree/a.txt",
                         "[HTTP][SERVER] GET /file done id=", " size=5 actual=5 sent=5 path=Tree/a.txt"}));
}

TEST_F(FileHttpServerTest, RequestHeadInSeveralPiecesIsServed) {
    WriteFile(root / "p.txt", "piece");
    ASSERT_NE(Offer(5, {root / "p.txt"}), nullptr);
    RawResponse response =
        Exchange(port, {"GET /file?id=5&pa", "th=" + PercentEncode(Utf8Path(root / "p.txt")),
                        " HTTP/1.1\r\nHost: x\r\n", "\r\n"});
    EXPECT_EQ(response.Status(), "HTTP/1.1 200 OK");
    EXPECT_EQ(response.Body(), "piece");
}

TEST_F(FileHttpServerTest, OtherSpellingsOfAnOfferedNameAreServed) {
    const fs::path path = root / L"{Br\u00E4ces} \u4E2D 'q'.txt";
    WriteFile(path, "unicode");
    ASSERT_NE(Offer(40, {path}), nullptr);
    std::string upper = Utf8Path(path);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    std::string slashes = Utf8Path(path);
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    const std::vector<std::pair<const char*, std::string>> spellings = {
        {"asOffered", Utf8Path(path)},
        {"otherCase", upper},
        {"forwardSlashes", slashes},
        {"trailingBlanks", Utf8Path(path) + " \t"},
    };
    for (const auto& [name, spelling] : spellings) {
        SCOPED_TRACE(name);
        RawResponse response = Get(port, "/file?id=40&path=" + PercentEncode(spelling));
        EXPECT_EQ(response.Status(), "HTTP/1.1 200 OK");
        EXPECT_EQ(response.Body(), "unicode");
    }
}

TEST_F(FileHttpServerTest, RunningFlagAndPortArePublished) {
    RuntimeSnapshot running = RuntimeMakeSnapshot();
    EXPECT_TRUE(running.httpRunning);
    EXPECT_EQ(running.httpPort, port);
    EXPECT_TRUE(RuntimeStateManager().IsHttpServerRunning());
    EXPECT_EQ(RuntimeStateManager().GetHttpPort(), port);

    WriteFile(root / "sent.bin", std::string(70000, 's'));
    ASSERT_NE(Offer(50, {root / "sent.bin"}), nullptr);
    EXPECT_EQ(Get(port, FileTarget(50, root / "sent.bin")).Body().size(), 70000u);
    EXPECT_EQ(RuntimeMakeSnapshot().httpLastBytes, 70000u);
    EXPECT_EQ(RuntimeMakeSnapshot().httpActiveDownloads, 0u);

    server.Stop();
    RuntimeSnapshot stopped = RuntimeMakeSnapshot();
    EXPECT_FALSE(stopped.httpRunning);
    EXPECT_EQ(stopped.httpPort, 0u);
    EXPECT_FALSE(RuntimeStateManager().IsHttpServerRunning());
    EXPECT_EQ(RuntimeStateManager().GetHttpPort(), 0);
}

TEST_F(FileHttpServerTest, RefusedAddressGetsNoData) {
    WriteFile(root / "secret.txt", "secret");
    ASSERT_NE(Offer(6, {root / "secret.txt"}), nullptr);
    server.SetPeerFilter([](const std::string&) { return false; });
    RawResponse refused = Get(port, "/manifest?id=6");
    EXPECT_EQ(refused.all, "");
    EXPECT_NE(WaitForOwnLog("[HTTP][SERVER][REFUSED] peer=127.0.0.1", 3000)
                  .find("[HTTP][SERVER][REFUSED] peer=127.0.0.1"),
              std::string::npos);

    server.SetPeerFilter([](const std::string& ip) { return ip == "127.0.0.1"; });
    EXPECT_EQ(Get(port, "/manifest?id=6").Status(), "HTTP/1.1 200 OK");
}

TEST_F(FileHttpServerTest, FileThatChangedAfterTheOffer) {
    struct Case {
        const char* name;
        std::string offered, now;
        std::string status, body;
    };
    const std::vector<Case> cases = {
        {"grewSendsTheOfferedSize", "12345", "1234567890", "HTTP/1.1 200 OK", "12345"},
        {"shrankSendsWhatIsLeft", "1234567890", "abc", "HTTP/1.1 200 OK", "abc"},
        {"emptiedIsAConflict", "12345", "", "HTTP/1.1 409 Conflict", "source file became zero"},
    };
    uint64_t id = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = root / (std::string(c.name) + ".bin");
        WriteFile(path, c.offered);
        ASSERT_NE(Offer(++id, {path}), nullptr);
        WriteFile(path, c.now);
        RawResponse response = Get(port, FileTarget(id, path));
        EXPECT_EQ(response.Status(), c.status);
        EXPECT_NE(response.Header().find("Content-Length: " + std::to_string(c.body.size()) + "\r\n"),
                  std::string::npos);
        EXPECT_EQ(response.Body(), c.body);
    }
}

TEST_F(FileHttpServerTest, RefusedRequests) {
    WriteFile(root / "offered.txt", "x");
    WriteFile(root / "other.txt", "y");
    ASSERT_NE(Offer(7, {root / "offered.txt"}), nullptr);
    struct Case {
        const char* name;
        std::string request;
        std::string status, body;
    };
    const std::vector<Case> cases = {
        {"onDiskButNotOffered", "GET " + FileTarget(7, root / "other.txt") + " HTTP/1.1\r\n\r\n",
         "HTTP/1.1 404 Not Found", "file not found"},
        {"offeredFileOfUnknownOffer", "GET " + FileTarget(8, root / "offered.txt") + " HTTP/1.1\r\n\r\n",
         "HTTP/1.1 404 Not Found", "file not found"},
        {"unknownOfferManifest", "GET /manifest?id=8 HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found",
         "not found"},
        {"manifestWithOtherQuery", "GET /manifest?all HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found",
         "not found"},
        {"post", "POST /manifest HTTP/1.1\r\n\r\n", "HTTP/1.1 405 Method Not Allowed", "method not allowed"},
        {"noVersion", "GET /manifest\r\n\r\n", "HTTP/1.1 405 Method Not Allowed", "method not allowed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawResponse response = Exchange(port, {c.request});
        EXPECT_EQ(response.Status(), c.status);
        EXPECT_NE(response.Header().find("Content-Type: text/plain\r\n"), std::string::npos);
        EXPECT_EQ(response.Body(), c.body);
    }
}

TEST_F(FileHttpServerTest, OlderOfferStaysServedByIdWhileANewerExists) {
    WriteFile(root / "old.txt", "old");
    WriteFile(root / "new.txt", "newer");
    auto older = Offer(20, {root / "old.txt"});
    auto newer = Offer(21, {root / "new.txt"});
    ASSERT_NE(older, nullptr);
    ASSERT_NE(newer, nullptr);

    EXPECT_EQ(Get(port, "/manifest?id=20").Body(), older->json);
    EXPECT_EQ(Get(port, "/manifest").Body(), newer->json);
    EXPECT_EQ(Get(port, FileTarget(20, root / "old.txt")).Body(), "old");
    EXPECT_EQ(Get(port, FileTarget(21, root / "old.txt")).Status(), "HTTP/1.1 404 Not Found");
    // Without an id a file request is answered from the newest offer.
    EXPECT_EQ(Get(port, "/file?path=" + PercentEncode(Utf8Path(root / "new.txt"))).Body(), "newer");
}

TEST_F(FileHttpServerTest, OversizedRequestHeadGetsNoAnswer) {
    RawResponse response =
        Exchange(port, {"GET /manifest HTTP/1.1\r\nX-Pad: " + std::string(20000, 'a') + "\r\n\r\n"});
    EXPECT_EQ(response.all, "");
    EXPECT_NE(
        WaitForOwnLog("[HTTP][SERVER][ERR] request head too large", 3000).find("request head too large"),
        std::string::npos);
}

TEST_F(FileHttpServerTest, StopCutsOffAClientThatStoppedReading) {
    const fs::path path = root / "big.bin";
    WriteFile(path, std::string(32u * 1024u * 1024u, 'z'));
    ASSERT_NE(Offer(30, {path}), nullptr);
    const size_t logStart = OwnLog().size();
    UniqueSocket client = ConnectWithReceiveTimeout(port);
    ASSERT_TRUE(client.Valid());
    const std::string request = "GET " + FileTarget(30, path) + " HTTP/1.1\r\n\r\n";
    ::send(client.Get(), request.data(), static_cast<int>(request.size()), 0);
    // Once the answer starts arriving the server is sending; the client reads no further, so the server soon
    // blocks on full socket buffers.
    ASSERT_TRUE(WaitUntil(
        [&] {
            char peek[16];
            return ::recv(client.Get(), peek, sizeof peek, MSG_PEEK) > 0;
        },
        5000));
    Sleep(300);

    const DWORD start = GetTickCount();
    server.Stop();
    EXPECT_LT(GetTickCount() - start, 3500u);
    EXPECT_FALSE(server.IsRunning());
    EXPECT_EQ(server.Port(), 0);
    const std::string log = OwnLogSince(logStart);
    EXPECT_TRUE(InOrder(log, {"[HTTP][SERVER][STOP] shutdown active clients=1",
                              "[HTTP][SERVER] loop end port=", "[HTTP][SERVER] stopped wasRunning=1"}));
    EXPECT_EQ(log.find("[HTTP][SERVER][STOP] detach server thread"), std::string::npos);
    EXPECT_FALSE(ConnectLoopback(port).Valid());

    // A new start serves the offers that were made before.
    ASSERT_TRUE(server.Start());
    EXPECT_TRUE(server.Start()); // already running: the same server
    EXPECT_EQ(Get(server.Port(), "/manifest?id=30").Status(), "HTTP/1.1 200 OK");
}

// A junction as mklink /J makes it: a directory carrying a mount-point reparse point.
bool MakeJunction(const fs::path& link, const fs::path& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return false;
    UniqueHandle handle(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle)
        return false;
    const std::wstring substitute = L"\\??\\" + target.wstring();
    const std::wstring print = target.wstring();
    const WORD substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const WORD printBytes = static_cast<WORD>(print.size() * sizeof(wchar_t));
    // Tag, data length, reserved; then the mount-point data: four offsets/lengths and both names, each ended
    // by a NUL.
    std::vector<BYTE> buffer(8 + 8 + substituteBytes + 2 + printBytes + 2, 0);
    auto put16 = [&](size_t at, WORD value) { memcpy(buffer.data() + at, &value, sizeof value); };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, static_cast<WORD>(buffer.size() - 8));
    put16(8, 0);
    put16(10, substituteBytes);
    put16(12, static_cast<WORD>(substituteBytes + 2));
    put16(14, printBytes);
    memcpy(buffer.data() + 16, substitute.data(), substituteBytes);
    memcpy(buffer.data() + 16 + substituteBytes + 2, print.data(), printBytes);
    DWORD returned = 0;
    if (!DeviceIoControl(handle.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                         static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr))
        return false;
    const DWORD attributes = GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

TEST_F(FileHttpServerTest, JunctionInsideAnOfferIsListedButNotEntered) {
    fs::create_directories(root / "Tree");
    WriteFile(root / "Tree" / "a.txt", "a");
    if (!MakeJunction(root / "Tree" / "Loop", root))
        GTEST_SKIP() << "this system cannot make a junction; the walk's rule is covered by ManifestBuildTest";
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(FileHttpServer::BuildEntries({(root / "Tree").wstring()}, entries));
    std::vector<std::string> relative;
    for (const ManifestEntry& e : entries)
        relative.push_back(e.relativePath + (e.isDir ? "/" : ""));
    std::sort(relative.begin(), relative.end());
    EXPECT_EQ(relative, (std::vector<std::string>{"Tree/", "Tree/Loop/", "Tree/a.txt"}));
    RemoveDirectoryW((root / "Tree" / "Loop").c_str());
}

TEST_F(FileHttpServerTest, ManagerOffersWithIdsFromTheFirstAndAManifestAddress) {
    WriteFile(root / "one.txt", "1");
    fs::create_directories(root / "Dir");
    WriteFile(root / "Dir" / "two.txt", "22");
    FileHttpTransferManager manager;
    manager.SetPeerFilter([](const std::string& ip) { return ip == "127.0.0.1"; });
    uint64_t id = 0;
    std::string payload;
    EXPECT_FALSE(manager.BeginOffer({}, "127.0.0.1", "", id, payload));
    EXPECT_FALSE(manager.BeginOffer({(root / "one.txt").wstring()}, "", "", id, payload));
    EXPECT_FALSE(manager.BeginOffer({(root / "missing.txt").wstring()}, "127.0.0.1", "", id, payload));

    ASSERT_TRUE(manager.BeginOffer({(root / "Dir").wstring(), (root / "one.txt").wstring()}, "127.0.0.1", "",
                                   id, payload));
    EXPECT_EQ(id, 2600001u);
    ASSERT_TRUE(manager.IsServerRunning());
    const uint16_t managerPort = manager.ServerPort();
    const std::string url = "http://127.0.0.1:" + std::to_string(managerPort) + "/manifest?id=2600001";
    EXPECT_EQ(ReadPayloadText(payload, "mode"), "http_manifest");
    EXPECT_EQ(ReadPayloadNumber(payload, "transferId"), 2600001u);
    EXPECT_EQ(ReadPayloadNumber(payload, "direction"), 1u);
    EXPECT_EQ(ReadPayloadNumber(payload, "totalBytes"), 3u);
    EXPECT_EQ(ReadPayloadNumber(payload, "itemCount"), 3u);
    EXPECT_EQ(ReadPayloadNumber(payload, "httpPort"), managerPort);
    EXPECT_EQ(ReadPayloadText(payload, "displayName"), "Dir");
    EXPECT_EQ(ReadPayloadText(payload, "manifestUrl"), url);
    EXPECT_EQ(ReadPayloadText(payload, "conflict"), "overwrite");
    RawResponse manifest = Get(managerPort, "/manifest?id=2600001");
    EXPECT_EQ(manifest.Status(), "HTTP/1.1 200 OK");
    EXPECT_NE(manifest.Body().find("\"path\":\"Dir/two.txt\""), std::string::npos) << manifest.Body();

    ConfigService::Instance().SetFileConflictRename(true);
    ASSERT_TRUE(manager.BeginOffer({(root / "one.txt").wstring()}, "127.0.0.1", "D:\\Drop", id, payload));
    ConfigService::Instance().SetFileConflictRename(false);
    EXPECT_EQ(id, 2600002u);
    EXPECT_EQ(ReadPayloadText(payload, "targetPath"), "D:\\Drop");
    EXPECT_EQ(ReadPayloadText(payload, "conflict"), "rename");
    EXPECT_EQ(manager.ServerPort(), managerPort); // the running server is kept
    manager.StopServer();
    EXPECT_FALSE(manager.IsServerRunning());
}

} // namespace
