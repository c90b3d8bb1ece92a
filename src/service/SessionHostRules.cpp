#include "service/SessionHostRules.h"

const char* HostModeName(HostMode mode) {
    switch (mode) {
    case HostMode::Prelogin:
        return "prelogin";
    case HostMode::User:
        return "user";
    case HostMode::None:
        break;
    }
    return "none";
}

uint64_t ElapsedMs(uint64_t from, uint64_t to) {
    int64_t delta = static_cast<int64_t>(to - from);
    return delta > 0 ? static_cast<uint64_t>(delta) : 0;
}

bool SecureFromWts(WtsLock lock, bool userNameEmpty) {
    if (lock == WtsLock::Locked)
        return true;
    if (lock == WtsLock::Unlocked)
        return false;
    return userNameEmpty;
}

HostMode TargetMode(const TargetInputs& in) {
    if (!in.desiredUser)
        return HostMode::Prelogin;
    if (in.autoStartAllowed || in.userHostRunning || in.interactiveLaunchRequested)
        return HostMode::User;
    return in.secure ? HostMode::Prelogin : HostMode::None;
}

bool AutoStartAllowed(bool suppressed, bool preferenceKnown, bool preferenceEnabled) {
    return !suppressed && preferenceKnown && preferenceEnabled;
}

WorkerCorrection DecideWorkerCorrection(uint32_t exitCode, bool wtsSecure, uint32_t previousContradictions) {
    WorkerCorrection result;
    result.suggestedSecure = exitCode == kWardletExitWinlogonActive;
    if (result.suggestedSecure == wtsSecure) {
        result.accepted = true;
        result.resultSecure = wtsSecure;
        return result;
    }
    result.contradictions = previousContradictions + 1;
    if (result.contradictions >= 2) {
        result.accepted = true;
        result.lagConfirmed = true;
        result.contradictions = 0;
        result.resultSecure = result.suggestedSecure;
    } else {
        result.resultSecure = wtsSecure;
    }
    return result;
}

bool HoldFreshExit(HostMode mode, bool serviceLaunched, uint32_t hostSession,
                   std::optional<uint32_t> consoleSession, uint64_t ageMs) {
    return mode == HostMode::User && serviceLaunched && consoleSession && *consoleSession == hostSession &&
           ageMs < kFreshLaunchWindowMs;
}

FreshExitVerdict EvaluateFreshExit(uint64_t elapsedMs, uint32_t requestSession,
                                   std::optional<uint32_t> consoleSession, bool logonPending) {
    if (!consoleSession || *consoleSession != requestSession || logonPending)
        return FreshExitVerdict::Discard;
    return elapsedMs >= kFreshExitValidationMs ? FreshExitVerdict::Confirm : FreshExitVerdict::Pending;
}

namespace {
constexpr long kErrorFileNotFound = 2;
constexpr uint32_t kRegDword = 4;
} // namespace

StartupPreferenceOutcome ClassifyStartupPreference(const StartupPreferenceQuery& query) {
    if (query.openResult == kErrorFileNotFound)
        return StartupPreferenceOutcome::Enabled;
    if (query.openResult != 0)
        return StartupPreferenceOutcome::OpenFailed;
    if (query.queryResult == kErrorFileNotFound)
        return StartupPreferenceOutcome::Enabled;
    if (query.queryResult != 0 || query.type != kRegDword || query.size != 4)
        return StartupPreferenceOutcome::InvalidEnabled;
    return query.value != 0 ? StartupPreferenceOutcome::Enabled : StartupPreferenceOutcome::Disabled;
}

namespace {
std::u16string Quoted(std::u16string_view path) {
    std::u16string text = u"\"";
    text += path;
    text += u"\"";
    return text;
}

std::u16string Decimal(uint64_t value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}
} // namespace

std::u16string HostCommandLine(std::u16string_view tessalyPath, HostMode mode) {
    return Quoted(tessalyPath) + (mode == HostMode::User ? u" --user-host" : u" --service-host");
}

std::u16string WorkerCommandLine(std::u16string_view wardletPath, uint64_t stopHandleValue, bool secure) {
    return Quoted(wardletPath) + u" worker " + Decimal(stopHandleValue) + (secure ? u" secure" : u" default");
}
