#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "TestPaths.h"
#include "core/Log.h"
#include "core/win/CloseHelpers.h"

namespace {

std::string LogAfterMarker() {
    Log::Close();
    std::string log = ReadWholeFile(TestExeFolder() + L"Tessaly.log");
    size_t marker = log.find("[TEST] close helpers marker\r\n");
    return marker == std::string::npos ? "<marker missing>" : log.substr(marker + 29);
}

class CloseHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        ASSERT_TRUE(Log::Open());
        Log::Write("[TEST] close helpers marker");
    }
    void TearDown() override {
        Log::Close();
        WSACleanup();
    }
};

TEST_F(CloseHelpers, InvalidAndStaleValuesAreLeftAloneSilently) {
    ShutdownSocketQuiet(INVALID_SOCKET);
    CloseSocketLogged(INVALID_SOCKET, "test.invalid");

    // A value that was a socket once: Winsock answers "not a socket", which is not worth a line.
    SOCKET stale = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(stale, INVALID_SOCKET);
    ASSERT_EQ(::closesocket(stale), 0);
    ShutdownSocketQuiet(stale);
    CloseSocketLogged(stale, "test.stale");

    HANDLE none = nullptr;
    CloseHandleLogged(none, "test.null");
    HANDLE invalid = INVALID_HANDLE_VALUE;
    CloseHandleLogged(invalid, "test.invalid");
    EXPECT_EQ(invalid, nullptr);
    HANDLE closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(closed, nullptr);
    ASSERT_TRUE(CloseHandle(closed));
    CloseHandleLogged(closed, "test.stale");
    EXPECT_EQ(closed, nullptr);

    EXPECT_EQ(LogAfterMarker(), "");
}

TEST_F(CloseHelpers, ValidValuesAreReallyClosed) {
    SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ASSERT_NE(s, INVALID_SOCKET);
    ShutdownSocketQuiet(s);
    CloseSocketLogged(s, "test.socket");
    int type = 0;
    int size = sizeof type;
    EXPECT_NE(::getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size), 0);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    HANDLE copy = event;
    CloseHandleLogged(event, "test.event");
    EXPECT_EQ(event, nullptr) << "the caller's variable is cleared";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(copy, &flags));

    EXPECT_EQ(LogAfterMarker(), "");
}

} // namespace
