#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "service/WardletShared.h"

// The session host's pure decisions: which Tessaly should run, whether a worker's desktop suggestion is
// believed, when a tray exit becomes permanent, how the per-user start-up setting reads, and the command
// lines of the processes the service starts.

enum class HostMode : int32_t { None = 0, Prelogin = 1, User = 2 };
// "prelogin", "user" or "none", as the log names them.
const char* HostModeName(HostMode mode);
// The desired mode is user or prelogin only.
inline const char* DesiredName(bool desiredUser) {
    return desiredUser ? "user" : "prelogin";
}

// What WTSSessionInfoEx says about the lock of a session; Unknown when it cannot tell.
enum class WtsLock { Unknown, Locked, Unlocked };

// Session-change event types of SERVICE_CONTROL_SESSIONCHANGE (the WTS_* values of winuser.h).
inline constexpr uint32_t kWtsConsoleDisconnect = 2;
inline constexpr uint32_t kWtsRemoteDisconnect = 4;
inline constexpr uint32_t kWtsSessionLogon = 5;
inline constexpr uint32_t kWtsSessionLogoff = 6;
inline constexpr uint32_t kWtsSessionLock = 7;
inline constexpr uint32_t kWtsSessionUnlock = 8;

// Time rules, in milliseconds.
inline constexpr uint64_t kUnexpectedExitBackoffMs = 5000;
inline constexpr uint64_t kFailedStartBackoffMs = 3000;
inline constexpr uint64_t kHealthIntervalMs = 60000;
inline constexpr uint64_t kSuppressedUnlockLogIntervalMs = 5000;
inline constexpr uint64_t kStartupPreferenceCacheMs = 1500;
inline constexpr uint64_t kFreshLaunchWindowMs = 15000;
inline constexpr uint64_t kFreshExitValidationMs = 8000;
inline constexpr uint64_t kAdoptMinimumAgeMs = 3000;

// Milliseconds from `from` to `to` on the 64-bit tick, never negative (a clock read on another thread may be
// a little older than `from`).
uint64_t ElapsedMs(uint64_t from, uint64_t to);

// The secure flag from a WTS lock state; an undetermined state falls back to the session's user: no user
// means the logon screen.
bool SecureFromWts(WtsLock lock, bool userNameEmpty);

struct TargetInputs {
    bool desiredUser = false;
    bool autoStartAllowed = false;
    bool userHostRunning = false;
    bool interactiveLaunchRequested = false;
    bool secure = false;
};
// The host mode that should run. Without auto-start a user host only stays or starts on the user's own
// request; otherwise the logon screen keeps its prelogin host and the Default desktop gets none.
HostMode TargetMode(const TargetInputs& in);

// Auto-start of the visible host needs a read, enabled preference and no tray exit in this boot.
bool AutoStartAllowed(bool suppressed, bool preferenceKnown, bool preferenceEnabled);

// A worker that left its desktop suggests the other one. A suggestion that contradicts WTS is believed only
// the second time in a row (WTS lags behind the secure desktop; one access-denied frame may be a glitch).
struct WorkerCorrection {
    bool suggestedSecure = false;
    bool accepted = false;       // the suggestion wins (it agrees with WTS or was repeated)
    bool lagConfirmed = false;   // accepted against WTS
    bool resultSecure = false;   // the secure flag afterwards
    uint32_t contradictions = 0; // consecutive contradicting suggestions afterwards
};
// Only for the two suggestion exit codes.
WorkerCorrection DecideWorkerCorrection(uint32_t exitCode, bool wtsSecure, uint32_t previousContradictions);

// A tray exit shortly after the service launched the user host may come from a boot or logon transition;
// it is held for validation when the host is a service-launched user host younger than 15 s in the session
// that is still the console session.
bool HoldFreshExit(HostMode mode, bool serviceLaunched, uint32_t hostSession,
                   std::optional<uint32_t> consoleSession, uint64_t ageMs);

enum class FreshExitVerdict { Pending, Confirm, Discard };
// The held exit becomes permanent once 8 s passed in the same session without a pending logon; a session
// change or a pending logon discards it at once.
FreshExitVerdict EvaluateFreshExit(uint64_t elapsedMs, uint32_t requestSession,
                                   std::optional<uint32_t> consoleSession, bool logonPending);

// The per-user "StartWithWindows" value as read from the registry.
struct StartupPreferenceQuery {
    long openResult = 0;  // RegOpenKeyExW
    long queryResult = 0; // RegQueryValueExW (when the key opened)
    uint32_t type = 0;
    uint32_t size = 0;
    uint32_t value = 0;
};
enum class StartupPreferenceOutcome { Enabled, Disabled, InvalidEnabled, OpenFailed };
// A missing key or value means enabled; a 4-byte REG_DWORD decides; anything else read is enabled with a
// warning; another open failure leaves the preference unread.
StartupPreferenceOutcome ClassifyStartupPreference(const StartupPreferenceQuery& query);

inline constexpr char16_t kStartupPreferenceKey[] = u"Software\\Marlo\\Settings";
inline constexpr char16_t kStartupPreferenceValue[] = u"StartWithWindows";

// "\"<tessaly>\" --user-host" or "\"<tessaly>\" --service-host".
std::u16string HostCommandLine(std::u16string_view tessalyPath, HostMode mode);
// "\"<wardlet>\" worker <stop handle> secure|default".
std::u16string WorkerCommandLine(std::u16string_view wardletPath, uint64_t stopHandleValue, bool secure);
