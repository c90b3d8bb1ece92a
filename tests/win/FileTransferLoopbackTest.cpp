#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "RawHttp.h"
#include "WinsockTest.h"
#include "core/win/Handles.h"
#include "transfer/FileTransferCommands.h"
#include "transfer/ManifestReader.h"
#include "transfer/win/FileHttpServer.h"
#include "transfer/win/HttpClient.h"

// The sending side's HTTP server and the receiving side's client against each other on loopback, the way a
// transfer runs between two PCs: offer a tree, fetch its manifest, download every item.
namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kHugeBytes = 200 * kMiB;

// Size and FNV-1a of a file's bytes, read in large blocks.
struct Digest {
    uint64_t size = 0;
    uint64_t hash = 14695981039346656037ull;
};

Digest DigestOf(const fs::path& path) {
    Digest digest;
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        digest.size = ~0ull;
        return digest;
    }
    std::vector<unsigned char> buffer(4 * kMiB);
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        for (DWORD i = 0; i < got; ++i)
            digest.hash = (digest.hash ^ buffer[i]) * 1099511628211ull;
        digest.size += got;
    }
    return digest;
}

// Every file (with its digest) and folder under root, by relative path.
std::map<std::wstring, Digest> TreeOf(const fs::path& root) {
    std::map<std::wstring, Digest> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::wstring relative = fs::relative(entry.path(), root).wstring();
        if (entry.is_directory())
            tree[relative + L"\\"] = Digest{};
        else
            tree[relative] = DigestOf(entry.path());
    }
    return tree;
}

// A file of size bytes whose every 64 KiB block differs from every other (its index is stamped in), so a
// lost, repeated or reordered block changes the digest. Written in 4 MiB pieces to stay quick.
bool WritePatterned(const fs::path& path, uint64_t size, unsigned seed) {
    fs::create_directories(path.parent_path());
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    constexpr size_t kBlock = 65536;
    std::vector<unsigned char> piece(4 * kMiB);
    for (size_t i = 0; i < piece.size(); ++i)
        piece[i] = static_cast<unsigned char>((i * 131 + seed) ^ (i >> 8));
    uint64_t written = 0;
    uint64_t block = 0;
    while (written < size) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(piece.size(), size - written));
        for (size_t at = 0; at + sizeof block <= count; at += kBlock, ++block)
            std::memcpy(piece.data() + at, &block, sizeof block);
        DWORD wrote = 0;
        if (!::WriteFile(file.Get(), piece.data(), static_cast<DWORD>(count), &wrote, nullptr) ||
            wrote != count)
            return false;
        written += count;
    }
    return true;
}

class FileTransferLoopbackTest : public WinsockTest {
protected:
    void SetUp() override {
        WinsockTest::SetUp();
        m_root = fs::temp_directory_path() /
                 (L"tsly-loop-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_run));
        fs::remove_all(m_root);
        m_source = m_root / L"source";
        m_target = m_root / L"target";
        fs::create_directories(m_source);
        fs::create_directories(m_target);
        m_manager.SetPeerFilter([](const std::string& ip) { return ip == "127.0.0.1"; });
        m_options.allowedHost = "127.0.0.1";
        m_options.connectTimeoutMs = 3000;
        m_options.recvTimeoutMs = 5000;
    }
    void TearDown() override {
        m_manager.StopServer();
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
        WinsockTest::TearDown();
    }

    // Offers paths and returns the manifest address of the offer ("" on failure).
    std::string Offer(const std::vector<fs::path>& paths) {
        std::vector<std::wstring> wide;
        for (const fs::path& path : paths)
            wide.push_back(path.wstring());
        uint64_t id = 0;
        std::string payload;
        if (!m_manager.BeginOffer(wide, "127.0.0.1", "", id, payload))
            return std::string();
        return ReadPayloadText(payload, "manifestUrl");
    }
    bool FetchManifest(const std::string& manifestUrl, std::vector<ManifestItem>& items) {
        std::string json;
        if (!HttpClient::GetText(manifestUrl, m_options, json, m_error))
            return false;
        size_t skipped = 0;
        return ParseManifest(json, items, skipped) && skipped == 0;
    }

    static inline int s_run = 0;
    fs::path m_root;
    fs::path m_source;
    fs::path m_target;
    FileHttpTransferManager m_manager;
    HttpClient::Options m_options;
    std::string m_error;
};

// A tree with the sizes around the server's 64 KiB pieces, an empty file and folder, nested folders, a
// 200 MiB file and a name with braces, quotes and non-ASCII letters arrives byte-identical.
TEST_F(FileTransferLoopbackTest, TreeArrivesByteIdentical) {
    const fs::path tree = m_source / L"Tree";
    struct File {
        fs::path relative;
        uint64_t size;
    } files[] = {
        {L"empty.bin", 0},
        {L"one.bin", 1},
        {L"Nested\\k64-1.bin", 65535},
        {L"Nested\\k64.bin", 65536},
        {L"Nested\\Deeper\\k64+1.bin", 65537},
        {L"Nested\\Deeper\\few-mib.bin", 3 * kMiB + 5},
        {L"Big\\huge.bin", kHugeBytes},
        {L"{brace} 'quote' `tick` Grüße 文件.txt", 4321},
    };
    unsigned seed = 1;
    for (const File& file : files)
        ASSERT_TRUE(WritePatterned(tree / file.relative, file.size, seed++)) << file.relative;
    fs::create_directories(tree / L"Nested" / L"Empty");
    ASSERT_TRUE(WritePatterned(m_source / L"loose {1}.txt", 100, seed++));

    const std::string manifestUrl = Offer({tree, m_source / L"loose {1}.txt"});
    ASSERT_FALSE(manifestUrl.empty());
    std::vector<ManifestItem> items;
    ASSERT_TRUE(FetchManifest(manifestUrl, items)) << m_error;
    EXPECT_EQ(items.size(), 14u); // Tree, its 4 folders and 8 files, and the loose file

    const DWORD start = ::GetTickCount();
    for (const ManifestItem& item : items)
        ASSERT_TRUE(
            HttpClient::DownloadItem(manifestUrl, item, m_target.wstring(), false, {}, m_options, m_error))
            << item.path << ": " << m_error;
    const DWORD took = ::GetTickCount() - start;
    std::printf("downloaded %zu items (%llu MiB) in %lu ms\n", items.size(),
                static_cast<unsigned long long>(kHugeBytes / kMiB), static_cast<unsigned long>(took));

    std::map<std::wstring, Digest> sent = TreeOf(m_source);
    std::map<std::wstring, Digest> received = TreeOf(m_target);
    EXPECT_EQ(received.size(), sent.size());
    for (const auto& [name, digest] : sent) {
        const auto found = received.find(name);
        ASSERT_NE(found, received.end()) << fs::path(name).string();
        EXPECT_EQ(found->second.size, digest.size) << fs::path(name).string();
        EXPECT_EQ(found->second.hash, digest.hash) << fs::path(name).string();
    }
}

// A cancel in the middle of the 200 MiB file: while it runs the bytes exist only as ".tsly_part", and after
// it neither the file nor its part is left.
TEST_F(FileTransferLoopbackTest, CancelMidFileLeavesNoFileAndNoPart) {
    ASSERT_TRUE(WritePatterned(m_source / L"huge.bin", kHugeBytes, 9));
    const std::string manifestUrl = Offer({m_source / L"huge.bin"});
    std::vector<ManifestItem> items;
    ASSERT_TRUE(FetchManifest(manifestUrl, items)) << m_error;
    ASSERT_EQ(items.size(), 1u);

    const fs::path final = m_target / L"huge.bin";
    const fs::path part = m_target / L"huge.bin.tsly_part";
    bool checked = false, finalDuring = true, partDuring = false;
    uint64_t canceledAt = 0;
    const bool ok = HttpClient::DownloadItem(
        manifestUrl, items[0], m_target.wstring(), false,
        [&](uint64_t written, uint64_t expected) {
            if (written < 64 * kMiB || expected != kHugeBytes)
                return true;
            checked = true;
            finalDuring = fs::exists(final);
            partDuring = fs::exists(part);
            canceledAt = written;
            return false;
        },
        m_options, m_error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(m_error, "canceled");
    ASSERT_TRUE(checked);
    EXPECT_LT(canceledAt, kHugeBytes);
    EXPECT_FALSE(finalDuring) << "the final name appeared before the file was whole";
    EXPECT_TRUE(partDuring);
    EXPECT_FALSE(fs::exists(final));
    EXPECT_FALSE(fs::exists(part));
    EXPECT_TRUE(fs::is_empty(m_target));
}

// The server serves one client at a time: while a client that stopped reading holds it, the next request
// gets no answer, and the client gives up within its receive time-out rather than hanging. Once that
// client is gone the server answers again.
TEST_F(FileTransferLoopbackTest, StalledServerMakesTheClientFailWithinItsTimeOut) {
    ASSERT_TRUE(WritePatterned(m_source / L"huge.bin", kHugeBytes, 5));
    const std::string manifestUrl = Offer({m_source / L"huge.bin"});
    std::vector<ManifestItem> items;
    ASSERT_TRUE(FetchManifest(manifestUrl, items)) << m_error;
    ASSERT_EQ(items.size(), 1u);

    // A client that asks for the large file and never reads it.
    UniqueSocket holder = raw_http::ConnectWithReceiveTimeout(m_manager.ServerPort());
    ASSERT_TRUE(holder.Valid());
    const std::string request = raw_http::GetRequest(items[0].url);
    ASSERT_EQ(::send(holder.Get(), request.data(), static_cast<int>(request.size()), 0),
              static_cast<int>(request.size()));
    // Its answer has begun: the server is now sending 200 MiB into a connection nobody reads.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(holder.Get(), &readable);
    timeval wait = {5, 0};
    ASSERT_EQ(::select(0, &readable, nullptr, nullptr, &wait), 1);

    m_options.recvTimeoutMs = 1500;
    std::string json;
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(HttpClient::GetText(manifestUrl, m_options, json, m_error));
    const DWORD took = ::GetTickCount() - start;
    EXPECT_EQ(m_error, "recv header failed");
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 6000u);

    holder.Reset();
    m_options.recvTimeoutMs = 15000;
    EXPECT_TRUE(HttpClient::GetText(manifestUrl, m_options, json, m_error)) << m_error;
}

} // namespace
