#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "LogAssertions.h"
#include "ProgramRun.h"
#include "core/win/CrashHandler.h"

namespace {

// Sets an environment variable for the probes started while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : m_name(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(m_name, nullptr); }

private:
    const wchar_t* m_name;
};

constexpr DWORD kProbeTimeoutMs = 30000;

bool Contains(const std::string& text, const std::regex& pattern) {
    return std::regex_search(text, pattern);
}

TEST(CrashProbe, UnhandledExceptionWritesTheLastReportAndEndsTheProcess) {
    struct Case {
        const wchar_t* mode;
        DWORD exitCode;
        const char* codeText;
    };
    const Case cases[] = {
        {L"access-violation", EXCEPTION_ACCESS_VIOLATION, "code=0xC0000005 EXCEPTION_ACCESS_VIOLATION"},
        {L"stack-overflow", EXCEPTION_STACK_OVERFLOW, "code=0xC00000FD EXCEPTION_STACK_OVERFLOW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << std::string(c.mode, c.mode + wcslen(c.mode)));
        ProgramRun probe(std::wstring(L"crash-") + c.mode, L"CrashProbe.exe");
        // Handing the exception on to the C runtime's filter would start winedbg and never end.
        ASSERT_EQ(probe.Run(c.mode, kProbeTimeoutMs), c.exitCode);
        std::string log = probe.Log();
        EXPECT_TRUE(Contains(
            log, std::regex(R"(tid=(\d+) \[CRASH\] Tessaly crash \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )"
                            R"(tid=\d+ )" +
                            std::string(c.codeText) + R"( addr=[0-9A-Fa-fx]+\r\n)")))
            << log;
        EXPECT_TRUE(Contains(log, std::regex(R"(\[CRASH\] snapshot app=0 host=0 client=0 program=IDLE .*)"
                                             R"(mouse=12,34 L=1 R=0 M=0 .* msg=probe status err=\r\n)")))
            << log;
        EXPECT_TRUE(Contains(log, std::regex(R"(\[CRASH\] module=.*CrashProbe\.exe\r\n)", std::regex::icase)))
            << log;
    }
}

TEST(CrashProbe, TerminateEndsTheProcessWithExitCode3AfterAManualReport) {
    ProgramRun probe(L"terminate", L"CrashProbe.exe");
    ASSERT_EQ(probe.Run(L"terminate", kProbeTimeoutMs), 3u);
    std::string log = probe.Log();
    EXPECT_TRUE(Contains(log, std::regex(R"(\[CRASH\] std::terminate tid=\d+\r\n)"))) << log;
    EXPECT_TRUE(Contains(log, std::regex(R"(\[CRASH\] manual-report tid=\d+ reason=std::terminate\r\n)")))
        << log;
    EXPECT_TRUE(Contains(
        log, std::regex(R"(\[CRASH\] snapshot app=0 .* msg=probe status err=std::terminate called\r\n)")))
        << log;
}

TEST(CrashProbe, DiagnosticsThreadsStartOnceSampleInTheMediaCategoryAndStopOnTheirOwn) {
    struct Case {
        const wchar_t* mediaLog; // null: variable unset
        bool samplesWritten;
    };
    const Case cases[] = {{L"1", true}, {nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "media log " << (c.mediaLog ? "on" : "off"));
        ProgramRun probe(c.mediaLog ? L"diagnostics-media" : L"diagnostics", L"CrashProbe.exe");
        DWORD exitCode;
        {
            ScopedEnvironment media(L"MARLO_DEBUG_MEDIA_LOG", c.mediaLog);
            exitCode = probe.Run(L"diagnostics", kProbeTimeoutMs);
        }
        std::string log = probe.Log();
        ASSERT_EQ(exitCode, 0u) << log;
        EXPECT_EQ(CountOf(log, "LongRunGuard thread start intervalSec=60\r\n"), 1u) << log;
        EXPECT_EQ(CountOf(log, "[STALL][WATCHDOG] start poll=100ms version=20260827.3\r\n"), 1u) << log;
        EXPECT_EQ(CountOf(log, "LongRunGuard thread leave\r\n"), 1u) << log;
        EXPECT_EQ(CountOf(log, "[STALL][WATCHDOG] stop\r\n"), 1u) << log;
        const std::regex sample(
            R"(LongRunGuard reason=(start|stop) wsMB=\d+ privateMB=\d+ handles=\d+ )"
            R"(threads=[1-9]\d* state=IDLE role=Idle host=0 client=0 fps cap/enc/send=0/0/0 )"
            R"(recv/dec/rend=0/0/0 kbps=0 stream=0x0 desktop=0x0 peer=\r\n)");
        auto begin = std::sregex_iterator(log.begin(), log.end(), sample);
        EXPECT_EQ(static_cast<size_t>(std::distance(begin, std::sregex_iterator())),
                  c.samplesWritten ? 2u : 0u)
            << log;
        EXPECT_EQ(CountOf(log, "LongRunGuard reason="), c.samplesWritten ? 2u : 0u) << log;
    }
}

TEST(CrashHandlerNames, MatchTheSdkExceptionCodes) {
    const std::pair<DWORD, const char*> names[] = {
        {EXCEPTION_ACCESS_VIOLATION, "EXCEPTION_ACCESS_VIOLATION"},
        {EXCEPTION_IN_PAGE_ERROR, "EXCEPTION_IN_PAGE_ERROR"},
        {EXCEPTION_ILLEGAL_INSTRUCTION, "EXCEPTION_ILLEGAL_INSTRUCTION"},
        {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
        {EXCEPTION_STACK_OVERFLOW, "EXCEPTION_STACK_OVERFLOW"},
        {EXCEPTION_DATATYPE_MISALIGNMENT, "EXCEPTION_DATATYPE_MISALIGNMENT"},
        {EXCEPTION_BREAKPOINT, "EXCEPTION_BREAKPOINT"},
        {EXCEPTION_PRIV_INSTRUCTION, "UNKNOWN_EXCEPTION"},
        {0, "UNKNOWN_EXCEPTION"},
    };
    for (const auto& [code, name] : names)
        EXPECT_STREQ(CrashHandler::ExceptionName(code), name) << std::hex << code;
}

} // namespace
