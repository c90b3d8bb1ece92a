#include "app/FirewallCheck.h"

#include <string>

#include "core/Utf.h"
#include "core/HResultNames.h"

namespace {

struct Profile {
    int32_t bit;
    const char* name;
};
constexpr Profile kProfiles[] = {{1, "Domain"}, {2, "Private"}, {4, "Public"}};

void LogProfiles(IFirewallPolicy& policy, FirewallLog& log) {
    FirewallValue current = policy.CurrentProfileTypes();
    if (current.hr >= 0) {
        uint32_t mask = static_cast<uint32_t>(current.value);
        log.Line("[FW] current profiles mask=0x%lx domain=%d private=%d public=%d",
                 static_cast<unsigned long>(mask), (mask & 1) ? 1 : 0, (mask & 2) ? 1 : 0,
                 (mask & 4) ? 1 : 0);
    } else {
        log.Line("[FW] get_CurrentProfileTypes failed hr=0x%08lx", HrBits(current.hr));
    }
    for (const Profile& profile : kProfiles) {
        FirewallValue enabled = policy.FirewallEnabled(profile.bit);
        if (enabled.hr >= 0)
            log.Line("[FW] profile %s enabled=%d", profile.name, enabled.value ? 1 : 0);
        else
            log.Line("[FW] get_FirewallEnabled(%s) failed hr=0x%08lx", profile.name, HrBits(enabled.hr));
    }
}

} // namespace

FirewallCheckResult CheckFirewallPolicy(IFirewallPolicy& policy, std::u16string_view exePath,
                                        FirewallLog& log) {
    LogProfiles(policy, log);

    FirewallCheckResult result;
    int32_t hr = 0;
    std::unique_ptr<IFirewallRules> rules = policy.Rules(hr);
    if (!rules) {
        log.Line("[FW] get_Rules failed hr=0x%08lx", HrBits(hr));
        return result;
    }
    result.rulesChecked = true;
    result.inbound =
        EnsureFirewallRule(*rules, kFirewallInboundRuleName, FirewallDirection::Inbound, exePath, log);
    result.outbound =
        EnsureFirewallRule(*rules, kFirewallOutboundRuleName, FirewallDirection::Outbound, exePath, log);
    log.Line("[FW] check done inbound=%d outbound=%d exe=%s", result.inbound ? 1 : 0, result.outbound ? 1 : 0,
             Utf16ToUtf8(exePath).c_str());
    return result;
}

bool ScheduleFirewallWorker(std::atomic<bool>& running, const std::function<uint32_t()>& startWorker,
                            FirewallLog& log) {
    bool idle = false;
    if (!running.compare_exchange_strong(idle, true)) {
        log.Line("[FW][ASYNC] check already running");
        return false;
    }
    uint32_t error = startWorker();
    if (error != 0) {
        running.store(false);
        log.Line("[FW][ASYNC] CreateThread failed gle=%lu; network startup continues",
                 static_cast<unsigned long>(error));
        return false;
    }
    log.Line("[FW][ASYNC] validation scheduled; network startup is not blocked");
    return true;
}
