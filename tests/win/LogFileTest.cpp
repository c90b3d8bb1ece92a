#include <gtest/gtest.h>

#include <windows.h>
#include <dxgi.h>
#include <mferror.h>

#include <regex>
#include <string>

#include "TestPaths.h"
#include "core/HResultNames.h"
#include "core/win/HResultText.h"
#include "core/Log.h"
#include "core/win/TextConvert.h"

namespace {

std::wstring LogPath() {
    return TestExeFolder() + L"Tessaly.log";
}

class LogFile : public ::testing::Test {
protected:
    void TearDown() override { Log::Close(); }
};

TEST_F(LogFile, LivesBesideTheExecutableAndIsTruncatedAtEveryOpen) {
    ASSERT_TRUE(Log::Open());
    Log::Write("[TEST] first run marker=%d", 1);
    Log::Close();
    std::string first = ReadWholeFile(LogPath());
    EXPECT_NE(first.find("[TEST] first run marker=1\r\n"), std::string::npos) << first;

    ASSERT_TRUE(Log::Open());
    Log::Close();
    std::string second = ReadWholeFile(LogPath());
    EXPECT_EQ(second.find("first run marker"), std::string::npos) << "old content survived: " << second;
    EXPECT_TRUE(
        std::regex_match(second, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} tid=\d+ )"
                                            R"(\[LOG\]\[PROFILE\] runtime-slim all=\d( \w+=\d){11}\r\n)")))
        << second;
}

TEST_F(LogFile, IsReadableWhileOpenButNotWritableByAnother) {
    ASSERT_TRUE(Log::Open());
    Log::Write("[TEST] visible while open");
    HANDLE reader = CreateFileW(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE) << "gle=" << GetLastError();
    CloseHandle(reader);
    EXPECT_NE(ReadWholeFile(LogPath()).find("[TEST] visible while open\r\n"), std::string::npos);

    // A second copy of the program must not truncate the log of the running one.
    HANDLE writer = CreateFileW(LogPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);
}

TEST_F(LogFile, WritesAfterCloseAreIgnoredAndFailureLinesReachTheSink) {
    static std::string lastErrorText;
    Log::SetErrorTextSink([](const char* line) { lastErrorText = line; });
    ASSERT_TRUE(Log::Open());
    Log::Close();
    Log::Write("[TEST] connect failed after close");
    std::string text = ReadWholeFile(LogPath());
    EXPECT_EQ(text.find("after close"), std::string::npos);
    EXPECT_NE(lastErrorText.find(" [TEST] connect failed after close\r\n"), std::string::npos)
        << lastErrorText;
    Log::SetErrorTextSink(nullptr);
}

TEST(HResultText, NamesMatchTheSdkCodesAndCarryTheSystemText) {
    const std::pair<HRESULT, const char*> names[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_POINTER, "E_POINTER"},
        {E_FAIL, "E_FAIL"},
        {E_ACCESSDENIED, "E_ACCESSDENIED"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {DXGI_ERROR_INVALID_CALL, "DXGI_ERROR_INVALID_CALL"},
        {DXGI_ERROR_NOT_FOUND, "DXGI_ERROR_NOT_FOUND"},
        {DXGI_ERROR_UNSUPPORTED, "DXGI_ERROR_UNSUPPORTED"},
        {DXGI_ERROR_DEVICE_REMOVED, "DXGI_ERROR_DEVICE_REMOVED"},
        {DXGI_ERROR_DEVICE_HUNG, "DXGI_ERROR_DEVICE_HUNG"},
        {DXGI_ERROR_DEVICE_RESET, "DXGI_ERROR_DEVICE_RESET"},
        {DXGI_ERROR_WAS_STILL_DRAWING, "DXGI_ERROR_WAS_STILL_DRAWING"},
        {DXGI_ERROR_DRIVER_INTERNAL_ERROR, "DXGI_ERROR_DRIVER_INTERNAL_ERROR"},
        {DXGI_ERROR_ACCESS_LOST, "DXGI_ERROR_ACCESS_LOST"},
        {MF_E_INVALIDTYPE, "MF_E_INVALIDTYPE"},
        {MF_E_INVALIDMEDIATYPE, "MF_E_INVALIDMEDIATYPE"},
        {MF_E_TOPO_CODEC_NOT_FOUND, "MF_E_TOPO_CODEC_NOT_FOUND"},
        {MF_E_TRANSFORM_TYPE_NOT_SET, "MF_E_TRANSFORM_TYPE_NOT_SET"},
        {MF_E_TRANSFORM_STREAM_CHANGE, "MF_E_TRANSFORM_STREAM_CHANGE"},
        {MF_E_TRANSFORM_NEED_MORE_INPUT, "MF_E_TRANSFORM_NEED_MORE_INPUT"},
    };
    for (const auto& [hr, name] : names)
        EXPECT_STREQ(HResultName(hr), name);

    std::string text = HResultToText(E_ACCESSDENIED);
    EXPECT_EQ(text.rfind("0x80070005 E_ACCESSDENIED ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("0x80070005 E_ACCESSDENIED ").size()) << "system text missing";
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
}

TEST(TextConvert, MatchesThePlatformConversion) {
    const wchar_t* samples[] = {L"", L"plain", L"\u8bbe\u5907\u5df2\u65ad\u5f00",
                                L"C:\\Users\\\u00e9l\u00e8ve\\\U0001F600"};
    for (const wchar_t* sample : samples) {
        int size = WideCharToMultiByte(CP_UTF8, 0, sample, -1, nullptr, 0, nullptr, nullptr);
        std::string expected(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, sample, -1, expected.data(), size, nullptr, nullptr);
        EXPECT_EQ(WideToUtf8(sample), expected);
    }
    EXPECT_EQ(WideToUtf8(nullptr), "");
    std::wstring longPath(2000, L'\u00e9'); // two UTF-8 bytes each
    std::string bounded = WideToUtf8Bounded(longPath.c_str());
    EXPECT_LT(bounded.size(), 1040u);
    EXPECT_EQ(bounded.size() % 2, 0u) << "cut inside a character";
}

} // namespace
