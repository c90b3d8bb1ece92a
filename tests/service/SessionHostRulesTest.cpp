#include <gtest/gtest.h>

#include "service/SessionHostRules.h"

namespace {

TEST(SessionHostRulesTest, TargetMode) {
    struct Case {
        const char* name;
        TargetInputs in;
        HostMode expected;
    };
    const Case cases[] = {
        {"desired prelogin always prelogin", {false, true, true, true, false}, HostMode::Prelogin},
        {"user with auto-start", {true, true, false, false, false}, HostMode::User},
        {"user host already runs", {true, false, true, false, false}, HostMode::User},
        {"interactive request", {true, false, false, true, false}, HostMode::User},
        {"no auto-start, secure keeps prelogin", {true, false, false, false, true}, HostMode::Prelogin},
        {"no auto-start, Default desktop gets none", {true, false, false, false, false}, HostMode::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TargetMode(c.in), c.expected) << c.name;
}

TEST(SessionHostRulesTest, AutoStartNeedsKnownEnabledAndNoTrayExit) {
    EXPECT_TRUE(AutoStartAllowed(false, true, true));
    EXPECT_FALSE(AutoStartAllowed(true, true, true));
    EXPECT_FALSE(AutoStartAllowed(false, false, true));
    EXPECT_FALSE(AutoStartAllowed(false, true, false));
}

TEST(SessionHostRulesTest, SecureFromWtsFallsBackToTheUserName) {
    EXPECT_TRUE(SecureFromWts(WtsLock::Locked, false));
    EXPECT_FALSE(SecureFromWts(WtsLock::Unlocked, true));
    EXPECT_TRUE(SecureFromWts(WtsLock::Unknown, true));
    EXPECT_FALSE(SecureFromWts(WtsLock::Unknown, false));
}

TEST(SessionHostRulesTest, ElapsedIsNeverNegative) {
    EXPECT_EQ(ElapsedMs(1000, 3500), 2500u);
    EXPECT_EQ(ElapsedMs(3500, 1000), 0u);
    EXPECT_EQ(ElapsedMs(UINT64_MAX - 10, 20), 31u);
}

TEST(SessionHostRulesTest, ContradictingSuggestionWinsOnlyTheSecondTimeInARow) {
    // WTS says unlocked; the worker twice finds the Winlogon desktop.
    WorkerCorrection first = DecideWorkerCorrection(kWardletExitWinlogonActive, false, 0);
    EXPECT_FALSE(first.accepted);
    EXPECT_FALSE(first.resultSecure);
    EXPECT_EQ(first.contradictions, 1u);
    WorkerCorrection second = DecideWorkerCorrection(kWardletExitWinlogonActive, false, first.contradictions);
    EXPECT_TRUE(second.accepted);
    EXPECT_TRUE(second.lagConfirmed);
    EXPECT_TRUE(second.resultSecure);
    EXPECT_EQ(second.contradictions, 0u);

    // A suggestion that agrees with WTS is taken at once and ends the streak.
    WorkerCorrection agreeing = DecideWorkerCorrection(kWardletExitDefaultActive, false, 1);
    EXPECT_TRUE(agreeing.accepted);
    EXPECT_FALSE(agreeing.lagConfirmed);
    EXPECT_FALSE(agreeing.resultSecure);
    EXPECT_EQ(agreeing.contradictions, 0u);

    WorkerCorrection defaultWhileLocked = DecideWorkerCorrection(kWardletExitDefaultActive, true, 0);
    EXPECT_FALSE(defaultWhileLocked.accepted);
    EXPECT_TRUE(defaultWhileLocked.resultSecure);
}

TEST(SessionHostRulesTest, HoldFreshExit) {
    struct Case {
        const char* name;
        HostMode mode;
        bool serviceLaunched;
        std::optional<uint32_t> console;
        uint64_t ageMs;
        bool held;
    };
    const Case cases[] = {
        {"fresh service-launched user host", HostMode::User, true, 1, 14999, true},
        {"15 s old", HostMode::User, true, 1, 15000, false},
        {"adopted host", HostMode::User, false, 1, 100, false},
        {"prelogin host", HostMode::Prelogin, true, 1, 100, false},
        {"other console session", HostMode::User, true, 2, 100, false},
        {"no console session", HostMode::User, true, std::nullopt, 100, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoldFreshExit(c.mode, c.serviceLaunched, 1, c.console, c.ageMs), c.held) << c.name;
}

TEST(SessionHostRulesTest, EvaluateFreshExit) {
    struct Case {
        const char* name;
        uint64_t elapsed;
        std::optional<uint32_t> console;
        bool logonPending;
        FreshExitVerdict verdict;
    };
    const Case cases[] = {
        {"still young", 7999, 1, false, FreshExitVerdict::Pending},
        {"8 s stable", 8000, 1, false, FreshExitVerdict::Confirm},
        {"session changed early", 100, 2, false, FreshExitVerdict::Discard},
        {"logon pending early", 100, 1, true, FreshExitVerdict::Discard},
        {"console gone", 9000, std::nullopt, false, FreshExitVerdict::Discard},
        {"logon pending late", 9000, 1, true, FreshExitVerdict::Discard},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvaluateFreshExit(c.elapsed, 1, c.console, c.logonPending), c.verdict) << c.name;
}

TEST(SessionHostRulesTest, ClassifyStartupPreference) {
    struct Case {
        const char* name;
        StartupPreferenceQuery query;
        StartupPreferenceOutcome outcome;
    };
    const Case cases[] = {
        {"missing key", {2, 0, 0, 0, 0}, StartupPreferenceOutcome::Enabled},
        {"key denied", {5, 0, 0, 0, 0}, StartupPreferenceOutcome::OpenFailed},
        {"missing value", {0, 2, 0, 0, 0}, StartupPreferenceOutcome::Enabled},
        {"dword 0", {0, 0, 4, 4, 0}, StartupPreferenceOutcome::Disabled},
        {"dword 1", {0, 0, 4, 4, 1}, StartupPreferenceOutcome::Enabled},
        {"dword 7", {0, 0, 4, 4, 7}, StartupPreferenceOutcome::Enabled},
        {"string", {0, 0, 1, 4, 0}, StartupPreferenceOutcome::InvalidEnabled},
        {"qword", {0, 0, 11, 8, 0}, StartupPreferenceOutcome::InvalidEnabled},
        {"dword of 2 bytes", {0, 0, 4, 2, 0}, StartupPreferenceOutcome::InvalidEnabled},
        {"too large", {0, 234, 4, 4, 0}, StartupPreferenceOutcome::InvalidEnabled},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyStartupPreference(c.query), c.outcome) << c.name;
}

TEST(SessionHostRulesTest, CommandLines) {
    EXPECT_EQ(HostCommandLine(u"C:\\Program Files\\Marlo\\Tessaly.exe", HostMode::User),
              u"\"C:\\Program Files\\Marlo\\Tessaly.exe\" --user-host");
    EXPECT_EQ(HostCommandLine(u"C:\\M\\Tessaly.exe", HostMode::Prelogin),
              u"\"C:\\M\\Tessaly.exe\" --service-host");
    EXPECT_EQ(WorkerCommandLine(u"C:\\M\\Wardlet.exe", 1234, true),
              u"\"C:\\M\\Wardlet.exe\" worker 1234 secure");
    EXPECT_EQ(WorkerCommandLine(u"C:\\M\\Wardlet.exe", 0, false), u"\"C:\\M\\Wardlet.exe\" worker 0 default");
    EXPECT_EQ(WorkerCommandLine(u"W.exe", 18446744073709551615ull, false),
              u"\"W.exe\" worker 18446744073709551615 default");
}

} // namespace
