#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"
#include "app/ProcessMode.h"

namespace {

struct ModeCase {
    std::u16string commandLine;
    ProcessMode mode;
    const char* buildLineText;
    const char* singleInstanceText;
    std::u16string mutexName;
};

TEST(ProcessMode, SwitchesSelectModeAndTexts) {
    const ModeCase cases[] = {
        {u"Tessaly.exe", ProcessMode::User, "user", "user", u"Local\\Tessaly.SingleInstance"},
        {u"Tessaly.exe --service-host", ProcessMode::ServiceHost, "prelogin-host", "prelogin-host",
         u"Global\\Tessaly.ServiceHost"},
        {u"Tessaly.exe --prelogin-host", ProcessMode::PreLoginHost, "prelogin", "prelogin",
         u"Local\\Tessaly.PreLoginHost"},
        {u"Tessaly.exe --user-host", ProcessMode::UserHost, "user-host", "user-host", u"Local\\Tessaly.SingleInstance"},
        // The build line says user-host for a pre-login host that also got the user-host switch.
        {u"Tessaly.exe --prelogin-host --user-host", ProcessMode::PreLoginHost, "user-host", "prelogin",
         u"Local\\Tessaly.PreLoginHost"},
        // Service host wins over both others, in any order.
        {u"Tessaly.exe --user-host --prelogin-host --service-host", ProcessMode::ServiceHost, "prelogin-host",
         "prelogin-host", u"Global\\Tessaly.ServiceHost"},
        // Found anywhere, also inside another argument or the program path.
        {u"Tessaly.exe /x=abc--service-hostdef", ProcessMode::ServiceHost, "prelogin-host", "prelogin-host",
         u"Global\\Tessaly.ServiceHost"},
        {u"\"C:\\--user-host\\Tessaly.exe\"", ProcessMode::UserHost, "user-host", "user-host",
         u"Local\\Tessaly.SingleInstance"},
        // Case-sensitive, and a single dash is no switch.
        {u"Tessaly.exe --Service-Host -user-host", ProcessMode::User, "user", "user", u"Local\\Tessaly.SingleInstance"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(std::string(c.buildLineText) + " / case " + std::to_string(&c - cases));
        ModeSwitches switches = FindModeSwitches(c.commandLine);
        ProcessMode mode = ModeFromSwitches(switches);
        EXPECT_EQ(mode, c.mode);
        EXPECT_STREQ(BuildLineModeText(switches), c.buildLineText);
        EXPECT_STREQ(SingleInstanceModeText(mode), c.singleInstanceText);
        EXPECT_EQ(std::u16string(SingleInstanceMutexName(mode)), c.mutexName);
    }
}

TEST(ProcessMode, OnlyServiceAndPreLoginHostsAreHidden) {
    EXPECT_TRUE(IsHiddenNetworkHost(ProcessMode::ServiceHost));
    EXPECT_TRUE(IsHiddenNetworkHost(ProcessMode::PreLoginHost));
    EXPECT_FALSE(IsHiddenNetworkHost(ProcessMode::UserHost));
    EXPECT_FALSE(IsHiddenNetworkHost(ProcessMode::User));
}

TEST(CommandLine, ArgumentsAfterProgramName) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"\"C:\\Program Files\\Tessaly\\Tessaly.exe\" --user-host -x", u"--user-host -x"},
        {u"\"C:\\Program Files\\Tessaly\\Tessaly.exe\"", u""},
        {u"\"C:\\Program Files\\Tessaly\\Tessaly.exe\"--service-host", u"--service-host"},
        {u"C:\\Tessaly\\Tessaly.exe --prelogin-host \"a b\"", u"--prelogin-host \"a b\""},
        {u"Tessaly.exe\t \t--user-host", u"--user-host"},
        {u"Tessaly.exe", u""},
        {u"", u""},
        {u"\"unterminated path --user-host", u""},
    };
    for (const auto& [commandLine, expected] : cases)
        EXPECT_EQ(std::u16string(ArgumentsAfterProgramName(commandLine)), expected);
}

} // namespace
