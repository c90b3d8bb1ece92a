#include "service/WardletCommandLine.h"

#include "core/Utf.h"
#include "service/WardletShared.h"

namespace {

constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
// (HANDLE)-6 .. (HANDLE)-1 are pseudo-handles.
constexpr uint64_t kFirstPseudoHandleValue = 0xFFFFFFFFFFFFFFFAull;

} // namespace

const char16_t kWardletUsageText[] =
    u"Marlo Wardlet\n"
    u"\n"
    u"  install    Install and start LocalSystem auto-start service\n"
    u"  stop       Stop service\n"
    u"  uninstall  Stop and delete service\n"
    u"  capture    Capture one frame in current process (diagnostic only)\n"
    u"  console    Continuous capture in current process (diagnostic only)\n";

WardletVerb ChooseWardletVerb(std::span<const std::u16string_view> args) {
    if (args.size() < 2)
        return WardletVerb::Usage;
    std::u16string_view verb = args[1];
    struct Entry {
        std::u16string_view name;
        WardletVerb verb;
    };
    static constexpr Entry kVerbs[] = {
        {u"capture", WardletVerb::Capture}, {u"console", WardletVerb::Console},
        {u"service", WardletVerb::Service}, {u"install", WardletVerb::Install},
        {u"stop", WardletVerb::Stop},       {u"uninstall", WardletVerb::Uninstall},
    };
    for (const Entry& entry : kVerbs) {
        if (EqualsIgnoringCase(verb, entry.name))
            return entry.verb;
    }
    if (EqualsIgnoringCase(verb, u"worker") && args.size() >= 4)
        return WardletVerb::Worker;
    return WardletVerb::Usage;
}

std::u16string WardletServiceImagePath(std::u16string_view executablePath) {
    std::u16string path = u"\"";
    path += executablePath;
    path += u"\" service";
    return path;
}

uint32_t InstallStartExitCode(uint32_t startError) {
    return startError == kErrorServiceAlreadyRunning ? 0 : startError;
}

uint64_t ParseStopHandleValue(std::u16string_view text) {
    if (text.empty())
        return 0;
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        uint64_t digit = static_cast<uint64_t>(c - u'0');
        if (value > (UINT64_MAX - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    return value;
}

bool IsPlausibleStopHandleValue(uint64_t value) {
    return value != 0 && value < kFirstPseudoHandleValue;
}

bool IsWinlogonWorkerMode(std::u16string_view mode) {
    return EqualsIgnoringCase(mode, u"secure");
}

const char* WorkerModeName(bool winlogonMode) {
    return winlogonMode ? "secure" : "default";
}

uint32_t WorkerAccessDeniedExitCode(bool winlogonMode) {
    // Denied on Winlogon means the user's Default desktop is active, and the other way round.
    return winlogonMode ? kWardletExitDefaultActive : kWardletExitWinlogonActive;
}

bool BmpDiagnosticsRequested(std::optional<std::u16string_view> value) {
    return value && !value->empty() && value->front() == u'1';
}

const char16_t* WorkerBmpName(bool winlogonMode) {
    return winlogonMode ? u"secure_probe_winlogon_latest.bmp" : u"secure_probe_default_latest.bmp";
}
