#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "TestPaths.h"
#include "core/win/Handles.h"
#include "service/WardletLogLine.h"
#include "service/win/WardletLog.h"

namespace {

TEST(WardletLog, WritesBesideTheExecutable) {
    EXPECT_EQ(WardletLogPath(), TestExeFolder() + L"secure_probe.log");
    const std::string marker = "WardletLog own line " + std::to_string(::GetTickCount64());
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    WardletLog("%s error=%lu", marker.c_str(), 5ul);
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_FILE_NOT_FOUND}) << "a caller's error survives logging";

    const std::string log = ReadWholeFile(WardletLogPath());
    const size_t at = log.find(marker);
    ASSERT_NE(at, std::string::npos);
    const size_t begin = log.rfind("\r\n", at) == std::string::npos ? 0 : log.rfind("\r\n", at) + 2;
    const std::string line = log.substr(begin, log.find("\r\n", at) + 2 - begin);
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    const std::regex expected(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} pid=" + std::to_string(::GetCurrentProcessId()) +
        " processSession=" + std::to_string(session) + " activeSession=\\d+ " + marker + " error=5\r\n");
    EXPECT_TRUE(std::regex_match(line, expected)) << line;
}

// Two processes append through the file lock to a log just below its cap: every line stays whole, the file
// never passes the cap, and each writer's surviving lines are its last ones, in order, none lost or doubled.
TEST(WardletLog, TwoProcessesShareTheLogUnderItsCap) {
    // Enough lines that two unlocked writers would tear some: each log call opens, appends and closes.
    constexpr int kLines = 3000;
    ProgramRun first(L"wardlet-log-writers", L"WardletLogWriter.exe");
    ProgramRun second(L"wardlet-log-writers", L"WardletLogWriter.exe");
    const std::wstring folder = TestExeFolder() + L"runs\\wardlet-log-writers\\";
    const std::wstring logPath = folder + L"secure_probe.log";

    // Filler 40,000 bytes short of the cap: the writers' 6,000 lines (about 1.7 MB) pass it at least once.
    {
        const UniqueHandle file(::CreateFileW(logPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.Valid());
        const std::string filler = std::string(998, 'x') + "\r\n";
        const size_t fillerLines = (kWardletLogCapBytes - 40'000) / filler.size();
        const std::string block = [&] {
            std::string text;
            for (size_t i = 0; i < fillerLines; ++i)
                text += filler;
            return text;
        }();
        DWORD written = 0;
        ASSERT_TRUE(
            ::WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr));
    }

    const std::wstring startName = L"WardletLogWritersStart" + std::to_wstring(::GetCurrentProcessId());
    const UniqueHandle start(::CreateEventW(nullptr, TRUE, FALSE, startName.c_str()));
    ASSERT_TRUE(start.Valid());
    ASSERT_TRUE(first.Start(L"A " + std::to_wstring(kLines) + L" " + startName));
    ASSERT_TRUE(second.Start(L"B " + std::to_wstring(kLines) + L" " + startName));
    ::SetEvent(start.Get());

    // Watch the size while they write (bounded by the writers' exit or 60 s).
    uint64_t largest = 0;
    const ULONGLONG deadline = ::GetTickCount64() + 60'000;
    while ((first.Running() || second.Running()) && ::GetTickCount64() < deadline) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (::GetFileAttributesExW(logPath.c_str(), GetFileExInfoStandard, &data))
            largest = std::max(largest, (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
        ::Sleep(1);
    }
    ASSERT_EQ(first.WaitExit(10'000), 0u);
    ASSERT_EQ(second.WaitExit(10'000), 0u);

    const std::string log = ReadWholeFile(logPath);
    EXPECT_LE(largest, kWardletLogCapBytes);
    EXPECT_LE(log.size(), kWardletLogCapBytes);
    EXPECT_EQ(log.find('x'), std::string::npos) << "the filler was never cut away";

    const std::regex shape("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} pid=\\d+ processSession=\\d+ "
                           "activeSession=\\d+ writer=([AB]) line=(\\d+) p{200}");
    std::map<std::string, std::vector<int>> seen;
    size_t at = 0;
    while (at < log.size()) {
        const size_t end = log.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "the log ends inside a line";
        const std::string line = log.substr(at, end - at);
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << "torn or mixed line: " << line;
        seen[match[1]].push_back(std::stoi(match[2]));
        at = end + 2;
    }
    for (const char* writer : {"A", "B"}) {
        const std::vector<int>& lines = seen[writer];
        ASSERT_FALSE(lines.empty()) << writer;
        EXPECT_EQ(lines.back(), kLines - 1) << writer;
        for (size_t i = 1; i < lines.size(); ++i)
            ASSERT_EQ(lines[i], lines[i - 1] + 1) << writer << ": a line lost or repeated";
    }
}

} // namespace
