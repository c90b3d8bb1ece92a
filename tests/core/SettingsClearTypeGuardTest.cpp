#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "core/SettingsClearTypeGuard.h"
#include "core/Log.h"
#include "support/TestLog.h"

namespace {

// The log is open for these tests and starts empty.
void FreshLog() {
    Log::Open();
    TestLog().Clear();
}

struct Guard {
    Guard(std::optional<StoredValue> active, std::optional<StoredValue> wasEnabled,
          std::optional<StoredValue> oldType) {
        if (active)
            store.values["Active"] = *active;
        if (wasEnabled)
            store.values["WasEnabled"] = *wasEnabled;
        if (oldType)
            store.values["OldType"] = *oldType;
        FreshLog();
    }
    FakeSettingsStore store;
    FakeFontSmoothing smoothing;
    TextClearTypeGuard guard{store, smoothing};
};

TEST(SettingsClearTypeGuardTest, PendingOnlyWithAnActiveFlagAndBothSavedValuesAsDwords) {
    struct Case {
        const char* label;
        std::optional<StoredValue> active, wasEnabled, oldType;
        bool pending;
    };
    const Case cases[] = {
        {"armed", Dword(1), Dword(1), Dword(2), true},
        {"any non-zero flag", Dword(7), Dword(0), Dword(0), true},
        {"flag 0", Dword(0), Dword(1), Dword(2), false},
        {"no flag", std::nullopt, Dword(1), Dword(2), false},
        {"flag as text", Raw(kRegSz, {'1', 0, 0, 0}), Dword(1), Dword(2), false},
        {"2-byte flag", Raw(kRegistryTypeDword, {1, 0}), Dword(1), Dword(2), false},
        {"no saved state", Dword(1), std::nullopt, Dword(2), false},
        {"saved type as a qword", Dword(1), Dword(1), Raw(kRegQword, {2, 0, 0, 0, 0, 0, 0, 0}), false},
        {"saved type as binary", Dword(1), Dword(1), Raw(kRegBinary, {2, 0, 0, 0}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Guard g(c.active, c.wasEnabled, c.oldType);
        uint32_t wasEnabled = 99, oldType = 99;
        EXPECT_EQ(g.guard.ReadPending(wasEnabled, oldType), c.pending);
        if (c.pending) {
            EXPECT_EQ(wasEnabled, *ReadStoredDword(g.store, "WasEnabled"));
            EXPECT_EQ(oldType, *ReadStoredDword(g.store, "OldType"));
        }
    }
}

TEST(SettingsClearTypeGuardTest, RestorePutsBackTheSavedSmoothingAndClearsOnlyWhenEveryCallWorked) {
    struct Case {
        const char* label;
        uint32_t wasEnabled, oldType;
        bool failEnable, failType;
        std::vector<std::string> calls;
        uint32_t activeAfter;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"was on",
         1,
         2,
         false,
         false,
         {"enable 1", "type 2"},
         0,
         {"[TEXT][CLEARTYPE][RESTORE] ok=1 wasEnabled=1 oldType=2 reason=host session end"}},
        {"was off: the type is left alone",
         0,
         2,
         false,
         false,
         {"enable 0"},
         0,
         {"[TEXT][CLEARTYPE][RESTORE] ok=1 wasEnabled=0 oldType=2 reason=host session end"}},
        {"enable fails, type still tried",
         1,
         1,
         true,
         false,
         {"enable 1", "type 1"},
         1,
         {"[TEXT][CLEARTYPE][SET_ENABLE][FAIL] enabled=1 err=87",
          "[TEXT][CLEARTYPE][RESTORE][FAIL] wasEnabled=1 oldType=1 reason=host session end"}},
        {"type fails",
         1,
         2,
         false,
         true,
         {"enable 1", "type 2"},
         1,
         {"[TEXT][CLEARTYPE][SET_TYPE][FAIL] type=2 err=87",
          "[TEXT][CLEARTYPE][RESTORE][FAIL] wasEnabled=1 oldType=2 reason=host session end"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Guard g(Dword(1), Dword(c.wasEnabled), Dword(c.oldType));
        g.smoothing.failEnable = c.failEnable;
        g.smoothing.failType = c.failType;
        g.guard.Restore("host session end");
        EXPECT_EQ(g.smoothing.calls, c.calls);
        EXPECT_EQ(g.store.StoredDword("Active"), c.activeAfter);
        EXPECT_EQ(TestLog().Messages(), c.log);
    }
}

TEST(SettingsClearTypeGuardTest, RestoreWithoutAGuardTouchesNothing) {
    Guard g(Dword(0), Dword(1), Dword(2));
    g.guard.Restore("host session end");
    EXPECT_TRUE(g.smoothing.calls.empty());
    EXPECT_EQ(g.store.ops, (std::vector<std::string>{"read Active"}));
}

TEST(SettingsClearTypeGuardTest, AFailedClearIsLoggedAndTheRestoreStillCounts) {
    struct Case {
        const char* label;
        long failOpen;
        long failWrite;
        const char* line;
    };
    const Case cases[] = {
        {"open", 5, 0, "[TEXT][CLEARTYPE][REG][FAIL] open rc=5 name=Active"},
        {"write", 0, 5, "[TEXT][CLEARTYPE][REG][FAIL] write rc=5 name=Active"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Guard g(Dword(1), Dword(1), Dword(2));
        g.store.failOpen = c.failOpen;
        if (c.failWrite != 0)
            g.store.failWrite["Active"] = c.failWrite;
        g.guard.Restore("r");
        EXPECT_EQ(TestLog().Messages(),
                  (std::vector<std::string>{
                      c.line, "[TEXT][CLEARTYPE][RESTORE] ok=1 wasEnabled=1 oldType=2 reason=r"}));
        EXPECT_EQ(g.store.StoredDword("Active"), 1u); // still pending: the next start tries again
    }
}

TEST(SettingsClearTypeGuardTest, StartupRestoreUsesItsOwnLines) {
    {
        Guard g(Dword(1), Dword(1), Dword(2));
        g.guard.RestoreAtStartup("why");
        EXPECT_EQ(g.smoothing.calls, (std::vector<std::string>{"enable 1", "type 2"}));
        EXPECT_EQ(g.store.StoredDword("Active"), 0u);
        EXPECT_EQ(
            TestLog().Messages(),
            (std::vector<std::string>{"[TEXT][CLEARTYPE][STARTUP_RESTORE] wasEnabled=1 oldType=2 reason=why",
                                      "[TEXT][CLEARTYPE][RESTORE] ok=1 source=startup reason=why"}));
    }
    {
        Guard g(Dword(1), Dword(1), Dword(2));
        g.smoothing.failType = true;
        g.guard.RestoreAtStartup("why");
        EXPECT_EQ(g.store.StoredDword("Active"), 1u);
        EXPECT_EQ(
            TestLog().Messages(),
            (std::vector<std::string>{"[TEXT][CLEARTYPE][STARTUP_RESTORE] wasEnabled=1 oldType=2 reason=why",
                                      "[TEXT][CLEARTYPE][SET_TYPE][FAIL] type=2 err=87",
                                      "[TEXT][CLEARTYPE][RESTORE][FAIL] source=startup reason=why"}));
    }
    {
        Guard g(std::nullopt, std::nullopt, std::nullopt);
        g.guard.RestoreAtStartup("why");
        EXPECT_TRUE(g.smoothing.calls.empty());
        EXPECT_EQ(TestLog().Messages(),
                  (std::vector<std::string>{"[TEXT][CLEARTYPE][STARTUP] no pending restore reason=why"}));
    }
}

} // namespace
