#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LogAssertions.h"
#include "LoopbackSocket.h"
#include "TestPaths.h"
#include "WinsockTest.h"
#include "core/win/Handles.h"
#include "transfer/win/HttpClient.h"

namespace {

// One scripted answer per connection, in order. A stalled answer sends its bytes and then keeps the
// connection open without a word until the test ends.
struct Answer {
    std::string bytes;
    bool stall = false;
};

// A loopback HTTP peer: accepts up to one connection per answer, records each request head, sends the
// answer and closes.
class ScriptedHttpServer {
public:
    explicit ScriptedHttpServer(std::vector<Answer> answers)
        : m_listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)),
          m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_port = ListenLoopback(m_listener.Get(), 4);
        if (m_port == 0)
            return;
        m_thread = std::thread([this, answers = std::move(answers)] { Serve(answers); });
    }
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;
    ~ScriptedHttpServer() {
        ::SetEvent(m_stop.Get());
        if (m_thread.joinable())
            m_thread.join();
    }

    uint16_t Port() const { return m_port; }
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    int Accepted() const { return m_accepted.load(); }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

private:
    void Serve(const std::vector<Answer>& answers) {
        for (const Answer& answer : answers) {
            if (!WaitForClient())
                return;
            UniqueSocket client(::accept(m_listener.Get(), nullptr, nullptr));
            if (!client.Valid())
                return;
            ++m_accepted;
            DWORD timeout = 5000;
            ::setsockopt(client.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                         sizeof timeout);
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
                int n = ::recv(client.Get(), buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<size_t>(n));
            }
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(request);
            }
            size_t sent = 0;
            while (sent < answer.bytes.size()) {
                int n = ::send(client.Get(), answer.bytes.data() + sent,
                               static_cast<int>(std::min<size_t>(65536, answer.bytes.size() - sent)), 0);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            if (answer.stall)
                ::WaitForSingleObject(m_stop.Get(), 20000);
        }
    }
    // Waits for a connection, giving up when the test ends or after 10 s.
    bool WaitForClient() {
        for (int i = 0; i < 100; ++i) {
            if (::WaitForSingleObject(m_stop.Get(), 0) == WAIT_OBJECT_0)
                return false;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_listener.Get(), &readable);
            timeval wait = {0, 100000};
            if (::select(0, &readable, nullptr, nullptr, &wait) == 1)
                return true;
        }
        return false;
    }

    UniqueSocket m_listener;
    UniqueHandle m_stop;
    uint16_t m_port = 0;
    std::atomic<int> m_accepted{0};
    std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

std::string Ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

ManifestItem FileItem(const std::string& path, uint64_t size, const std::string& url = "/file?id=1&path=x") {
    ManifestItem item;
    item.id = 3;
    item.path = path;
    item.fullPath = "C:\\elsewhere\\" + path;
    item.size = size;
    item.url = url;
    return item;
}

void WriteFileText(const std::filesystem::path& path, const std::string& text) {
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD wrote = 0;
    ASSERT_TRUE(file.Valid());
    ASSERT_TRUE(::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr));
}

class HttpClientTest : public WinsockTest {
protected:
    void SetUp() override {
        WinsockTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_root = std::filesystem::path(temp) / (L"tsly-http-" + std::to_wstring(::GetCurrentProcessId()) +
                                                L"-" + std::to_wstring(++s_counter));
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root);
        m_options.allowedHost = "127.0.0.1";
        m_options.connectTimeoutMs = 1500;
        m_options.recvTimeoutMs = 1500;
        m_logStart = OwnLog().size();
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& entry : std::filesystem::recursive_directory_iterator(m_root, ec))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(m_root, ec);
        WinsockTest::TearDown();
    }

    bool Download(const ScriptedHttpServer& server, const ManifestItem& item, bool rename = false,
                  const HttpClient::ProgressFn& progress = {}) {
        return HttpClient::DownloadItem(server.BaseUrl() + "/manifest?id=1", item, m_root.wstring(), rename,
                                        progress, m_options, m_error);
    }
    std::string Read(const std::wstring& relative) { return ReadWholeFile((m_root / relative).wstring()); }
    bool Exists(const std::wstring& relative) { return std::filesystem::exists(m_root / relative); }
    // Files left in the target folder, recursively, as relative names.
    std::vector<std::wstring> Files() {
        std::vector<std::wstring> names;
        for (auto& entry : std::filesystem::recursive_directory_iterator(m_root))
            if (entry.is_regular_file())
                names.push_back(std::filesystem::relative(entry.path(), m_root).wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string LogSinceStart() { return OwnLogSince(m_logStart); }

    static inline int s_counter = 0;
    std::filesystem::path m_root;
    HttpClient::Options m_options;
    std::string m_error;
    size_t m_logStart = 0;
};

TEST_F(HttpClientTest, FileIsStreamedAndMovedIntoPlace) {
    ScriptedHttpServer server({{Ok("hello world")}});
    std::vector<uint64_t> progress;
    ASSERT_TRUE(Download(server, FileItem("sub/dir/r.txt", 11), false,
                         [&](uint64_t written, uint64_t expected) {
                             progress.push_back(written);
                             return expected == 11;
                         }))
        << m_error;
    EXPECT_EQ(Read(L"sub\\dir\\r.txt"), "hello world");
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"sub\\dir\\r.txt"}) << "no temporary file is left";
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 11u);
    EXPECT_EQ(server.Requests(),
              std::vector<std::string>{
                  "GET /file?id=1&path=x HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"});
    EXPECT_TRUE(InOrder(LogSinceStart(), {"[HTTP][CLIENT] file begin id=3 size=11 rel=sub/dir/r.txt dst=",
                                          "[HTTP][DONE] bytes=11 expected=11 contentLength=11",
                                          "[HTTP][CLIENT] file done id=3 rel=sub/dir/r.txt"}));
}

TEST_F(HttpClientTest, LargeBodyArrivesIntactAcrossManyBlocks) {
    std::string body(1234567, '\0');
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>((i * 131) >> 3);
    ScriptedHttpServer server({{Ok(body)}});
    ASSERT_TRUE(Download(server, FileItem("big.bin", body.size()))) << m_error;
    EXPECT_TRUE(Read(L"big.bin") == body) << "the file differs from what was sent";
}

TEST_F(HttpClientTest, NotFoundCreatesNoFile) {
    ScriptedHttpServer server(
        {{"HTTP/1.1 404 Not Found\r\nContent-Length: 14\r\nConnection: close\r\n\r\nfile not found"}});
    EXPECT_FALSE(Download(server, FileItem("r.txt", 5)));
    EXPECT_EQ(m_error, "http status 404");
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, ShortBodyLeavesNeitherFinalNorTemp) {
    ScriptedHttpServer server({{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n\r\nabc"}});
    EXPECT_FALSE(Download(server, FileItem("r.txt", 10)));
    EXPECT_EQ(m_error, "recv file interrupted");
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, CancelLeavesNothing) {
    ScriptedHttpServer server({{Ok(std::string(300000, 'c'))}});
    EXPECT_FALSE(
        Download(server, FileItem("r.txt", 300000), false, [](uint64_t, uint64_t) { return false; }));
    EXPECT_EQ(m_error, "canceled");
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, SilentServerFailsWithinTheReceiveTimeOut) {
    ScriptedHttpServer server({{"", true}});
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(Download(server, FileItem("r.txt", 5)));
    DWORD took = ::GetTickCount() - start;
    EXPECT_EQ(m_error, "recv header failed");
    EXPECT_GE(took, 1000u);
    EXPECT_LT(took, 6000u);
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, StallMidBodyFailsWithinTheReceiveTimeOut) {
    ScriptedHttpServer server({{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc", true}});
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(Download(server, FileItem("r.txt", 10)));
    EXPECT_LT(::GetTickCount() - start, 6000u);
    EXPECT_EQ(m_error, "recv file interrupted");
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, OtherHostIsRefusedWithoutConnecting) {
    ScriptedHttpServer server({{Ok("x")}});
    m_options.allowedHost = "10.77.0.1";
    EXPECT_FALSE(Download(server, FileItem("r.txt", 1)));
    EXPECT_EQ(m_error, "host not allowed");
    std::string text;
    EXPECT_FALSE(HttpClient::GetText(server.BaseUrl() + "/manifest", m_options, text, m_error));
    EXPECT_EQ(m_error, "host not allowed");
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_EQ(
        CountOf(LogSinceStart(), "[HTTP][CLIENT][ERR] host not allowed host=127.0.0.1 allowed=10.77.0.1"),
        2u);

    m_options.allowedHost = "127.0.0.1";
    EXPECT_FALSE(Download(server, FileItem("r.txt", 1, "http://10.77.0.1:80/file?path=x")));
    EXPECT_EQ(m_error, "host not allowed") << "an absolute item URL naming another host";
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(Files().empty());
}

TEST_F(HttpClientTest, UnsafePathCreatesNothingAndSendsNothing) {
    ScriptedHttpServer server({{Ok("x")}});
    for (const char* path : {"../escape.txt", "C:\\escape.txt", "nul.txt", "a\\..\\..\\b"}) {
        EXPECT_FALSE(Download(server, FileItem(path, 1))) << path;
        EXPECT_EQ(m_error, "unsafe path");
    }
    ManifestItem dir;
    dir.path = "..";
    dir.dir = true;
    EXPECT_FALSE(Download(server, dir));
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(m_root));
}

TEST_F(HttpClientTest, DirectoryItemIsCreatedWithItsParents) {
    ScriptedHttpServer server({});
    ManifestItem dir;
    dir.path = "a/b/empty";
    dir.dir = true;
    ASSERT_TRUE(Download(server, dir)) << m_error;
    EXPECT_TRUE(std::filesystem::is_directory(m_root / L"a\\b\\empty"));
    ASSERT_TRUE(Download(server, dir)) << "an existing folder is success";
    WriteFileText(m_root / L"file", "x");
    dir.path = "file";
    EXPECT_FALSE(Download(server, dir)) << "a file in the way is not a folder";
    EXPECT_EQ(m_error, "create directory failed");
}

TEST_F(HttpClientTest, ExistingFileIsReplacedUnderTheOverwriteRule) {
    WriteFileText(m_root / L"r.txt", "old contents");
    ScriptedHttpServer server({{Ok("new")}});
    ASSERT_TRUE(Download(server, FileItem("r.txt", 3))) << m_error;
    EXPECT_EQ(Read(L"r.txt"), "new");
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"r.txt"});
}

TEST_F(HttpClientTest, RenameRuleKeepsTheExistingFile) {
    WriteFileText(m_root / L"r.txt", "old");
    WriteFileText(m_root / L"r (1).txt", "older");
    ScriptedHttpServer server({{Ok("new")}});
    ASSERT_TRUE(Download(server, FileItem("r.txt", 3), true)) << m_error;
    EXPECT_EQ(Read(L"r.txt"), "old");
    EXPECT_EQ(Read(L"r (1).txt"), "older");
    EXPECT_EQ(Read(L"r (2).txt"), "new");
    EXPECT_NE(LogSinceStart().find("[HTTP][CLIENT] conflict auto-rename dst="), std::string::npos);
}

TEST_F(HttpClientTest, SelfOverwriteIsRenamedEvenUnderTheOverwriteRule) {
    WriteFileText(m_root / L"r.txt", "source");
    ManifestItem item = FileItem("r.txt", 3);
    item.fullPath = (m_root / L"R.TXT").string();
    ScriptedHttpServer server({{Ok("new")}});
    ASSERT_TRUE(Download(server, item, false)) << m_error;
    EXPECT_EQ(Read(L"r.txt"), "source");
    EXPECT_EQ(Read(L"r (1).txt"), "new");
    EXPECT_NE(LogSinceStart().find(
                  "[HTTP][CLIENT][WARN] self-overwrite detected, force auto-rename src==dst path="),
              std::string::npos);
}

TEST_F(HttpClientTest, FolderInTheWayIsNeverDeleted) {
    std::filesystem::create_directories(m_root / L"r.txt");
    WriteFileText(m_root / L"r.txt" / L"keep.me", "precious");
    ScriptedHttpServer server({{Ok("new")}});
    EXPECT_FALSE(Download(server, FileItem("r.txt", 3)));
    EXPECT_EQ(m_error, "rename temp failed");
    EXPECT_TRUE(std::filesystem::is_directory(m_root / L"r.txt"));
    EXPECT_EQ(Read(L"r.txt\\keep.me"), "precious");
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"r.txt\\keep.me"}) << "no temporary file is left";
}

TEST_F(HttpClientTest, ReadOnlyTargetIsLeftAsItWas) {
    WriteFileText(m_root / L"r.txt", "read only");
    ASSERT_TRUE(::SetFileAttributesW((m_root / L"r.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ScriptedHttpServer server({{Ok("new")}});
    EXPECT_FALSE(Download(server, FileItem("r.txt", 3)));
    EXPECT_EQ(m_error, "rename temp failed");
    EXPECT_EQ(Read(L"r.txt"), "read only");
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"r.txt"});
}

TEST_F(HttpClientTest, ManifestTextNeedsItsContentLength) {
    const std::string json = "{\"version\":2,\"mode\":\"path\",\"items\":[]}";
    ScriptedHttpServer server(
        {{"HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
          std::to_string(json.size()) + "\r\nConnection: close\r\n\r\n" + json},
         {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + json}});
    std::string body;
    ASSERT_TRUE(HttpClient::GetText(server.BaseUrl() + "/manifest?id=2600001", m_options, body, m_error))
        << m_error;
    EXPECT_EQ(body, json);
    EXPECT_FALSE(HttpClient::GetText(server.BaseUrl() + "/manifest?id=2600001", m_options, body, m_error));
    EXPECT_EQ(m_error, "no content length");
    EXPECT_EQ(server.Requests().front(),
              "GET /manifest?id=2600001 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

TEST_F(HttpClientTest, ClosedPortFailsToConnect) {
    UniqueSocket holder(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    ASSERT_EQ(::bind(holder.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(holder.Get(), reinterpret_cast<sockaddr*>(&address), &size), 0);
    std::string body;
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(
        HttpClient::GetText("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/manifest",
                            m_options, body, m_error));
    EXPECT_LT(::GetTickCount() - start, 5000u);
    EXPECT_EQ(m_error, "connect failed");
}

} // namespace
