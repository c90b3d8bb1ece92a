// Wardlet's command line: which role a command line selects, the worker's arguments and environment, and
// the exit codes the service and the installer rely on.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "service/WardletCommandLine.h"

namespace {

WardletVerb VerbOf(std::initializer_list<std::u16string_view> args) {
    std::vector<std::u16string_view> list(args);
    return ChooseWardletVerb(list);
}

TEST(WardletCommandLine, VerbChoice) {
    struct Case {
        const char* name;
        std::initializer_list<std::u16string_view> args;
        WardletVerb verb;
    } cases[] = {
        {"no argument", {u"Wardlet.exe"}, WardletVerb::Usage},
        {"no program name either", {}, WardletVerb::Usage},
        {"unknown verb", {u"Wardlet.exe", u"start"}, WardletVerb::Usage},
        {"empty verb", {u"Wardlet.exe", u""}, WardletVerb::Usage},
        {"verb with a suffix", {u"Wardlet.exe", u"installs"}, WardletVerb::Usage},
        {"verb with a dash", {u"Wardlet.exe", u"-install"}, WardletVerb::Usage},
        {"service", {u"Wardlet.exe", u"service"}, WardletVerb::Service},
        {"install in capitals", {u"Wardlet.exe", u"INSTALL"}, WardletVerb::Install},
        {"install mixed case", {u"Wardlet.exe", u"Install"}, WardletVerb::Install},
        {"stop", {u"Wardlet.exe", u"stop"}, WardletVerb::Stop},
        {"uninstall", {u"Wardlet.exe", u"UnInstall"}, WardletVerb::Uninstall},
        {"extra arguments are ignored", {u"Wardlet.exe", u"stop", u"now"}, WardletVerb::Stop},
        {"capture", {u"Wardlet.exe", u"capture"}, WardletVerb::Capture},
        {"capture with more", {u"Wardlet.exe", u"CAPTURE", u"x", u"y"}, WardletVerb::Capture},
        {"console", {u"Wardlet.exe", u"Console"}, WardletVerb::Console},
        {"worker alone", {u"Wardlet.exe", u"worker"}, WardletVerb::Usage},
        {"worker with the handle only", {u"Wardlet.exe", u"worker", u"x"}, WardletVerb::Usage},
        {"worker with handle and mode", {u"Wardlet.exe", u"worker", u"x", u"y"}, WardletVerb::Worker},
        {"worker in capitals with more",
         {u"Wardlet.exe", u"WORKER", u"12", u"secure", u"z"},
         WardletVerb::Worker},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VerbOf(c.args), c.verb);
    }
}

TEST(WardletCommandLine, StopHandleValue) {
    struct Case {
        const char16_t* text;
        uint64_t value;
        bool plausible;
    } cases[] = {
        {u"1234", 1234, true},
        {u"0", 0, false},
        {u"", 0, false},
        {u"x", 0, false},
        {u"12x", 0, false},
        {u"-1", 0, false},
        {u"+5", 0, false},
        {u" 5", 0, false},
        {u"0x10", 0, false},
        {u"007", 7, true},
        // The largest value below the pseudo-handles is a real handle value; the six above it are not.
        {u"18446744073709551609", 0xFFFFFFFFFFFFFFF9ull, true},
        {u"18446744073709551610", 0xFFFFFFFFFFFFFFFAull, false},
        {u"18446744073709551614", 0xFFFFFFFFFFFFFFFEull, false},
        {u"18446744073709551615", 0xFFFFFFFFFFFFFFFFull, false},
        // One past the largest 64-bit number must not wrap around to a small, valid-looking handle.
        {u"18446744073709551616", 0, false},
        {u"18446744073709551617", 0, false},
        {u"99999999999999999999999", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::u16string_view(c.text).size()));
        uint64_t value = ParseStopHandleValue(c.text);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(IsPlausibleStopHandleValue(value), c.plausible);
    }
}

TEST(WardletCommandLine, WorkerModeNamesItsExitCodeAndBmp) {
    struct Case {
        const char16_t* mode;
        bool winlogon;
    } cases[] = {
        {u"secure", true}, {u"SECURE", true},   {u"Secure", true},    {u"default", false},
        {u"", false},      {u"secure ", false}, {u"insecure", false}, {u"winlogon", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode, c.mode + std::u16string_view(c.mode).size()));
        EXPECT_EQ(IsWinlogonWorkerMode(c.mode), c.winlogon);
    }
    // Denied on the Winlogon desktop means the user's desktop is the input desktop, and the other way round;
    // the service picks the next desktop from these codes.
    EXPECT_EQ(WorkerAccessDeniedExitCode(true), 0xDDE50002u);
    EXPECT_EQ(WorkerAccessDeniedExitCode(false), 0xDDE50001u);
    EXPECT_STREQ(WorkerModeName(true), "secure");
    EXPECT_STREQ(WorkerModeName(false), "default");
    EXPECT_EQ(std::u16string_view(WorkerBmpName(true)), u"secure_probe_winlogon_latest.bmp");
    EXPECT_EQ(std::u16string_view(WorkerBmpName(false)), u"secure_probe_default_latest.bmp");
}

TEST(WardletCommandLine, BmpDiagnosticsFlag) {
    struct Case {
        const char* name;
        std::optional<std::u16string_view> value;
        bool on;
    } cases[] = {
        {"unset", std::nullopt, false},
        {"empty", u"", false},
        {"1", u"1", true},
        {"10", u"10", true},
        {"1 and a long tail", u"1-and-a-good-deal-more", true},
        {"0", u"0", false},
        {"true", u"true", false},
        {"leading blank", u" 1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BmpDiagnosticsRequested(c.value), c.on);
    }
}

TEST(WardletCommandLine, ServiceImagePathQuotesTheExecutable) {
    EXPECT_EQ(WardletServiceImagePath(u"C:\\Program Files\\Marlo\\Wardlet.exe"),
              u"\"C:\\Program Files\\Marlo\\Wardlet.exe\" service");
}

TEST(WardletCommandLine, InstallCountsAnAlreadyRunningServiceAsStarted) {
    EXPECT_EQ(InstallStartExitCode(0), 0u);
    EXPECT_EQ(InstallStartExitCode(1056), 0u); // ERROR_SERVICE_ALREADY_RUNNING
    EXPECT_EQ(InstallStartExitCode(5), 5u);
    EXPECT_EQ(InstallStartExitCode(1058), 1058u); // ERROR_SERVICE_DISABLED
}

} // namespace
