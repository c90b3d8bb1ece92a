#include "app/FirewallRules.h"

#include "core/Utf.h"
#include "core/HResultNames.h"

namespace {

bool AllocationFailed(FirewallLog& log, const std::string& name) {
    log.Line("[FW] SysAllocString failed rule=%s", name.c_str());
    return false;
}

} // namespace

FirewallRuleSpec AllowRuleFor(std::u16string_view name, FirewallDirection direction,
                              std::u16string_view exePath) {
    FirewallRuleSpec rule;
    rule.name = name;
    rule.description = kFirewallRuleDescription;
    rule.applicationName = exePath;
    rule.direction = static_cast<int32_t>(direction);
    rule.interfaceTypes = kFirewallInterfaceTypesAll;
    return rule;
}

const char* FirewallDirectionText(FirewallDirection direction) {
    return direction == FirewallDirection::Inbound ? "Inbound" : "Outbound";
}

bool FirewallRuleMatches(const FirewallRuleFields& rule, FirewallDirection direction,
                         std::u16string_view exePath) {
    return rule.direction == static_cast<int32_t>(direction) && rule.action == kFirewallActionAllow &&
           rule.enabled && (rule.profiles & kFirewallProfilesAll) != 0 &&
           rule.protocol == kFirewallProtocolAny && rule.applicationName &&
           EqualsIgnoringCase(*rule.applicationName, exePath);
}

bool EnsureFirewallRule(IFirewallRules& rules, std::u16string_view name, FirewallDirection direction,
                        std::u16string_view exePath, FirewallLog& log) {
    const std::string ruleName = Utf16ToUtf8(name);
    const std::string exe = Utf16ToUtf8(exePath);
    const char* dir = FirewallDirectionText(direction);

    FirewallLookupResult existing = rules.Find(name);
    if (existing.stringAllocationFailed)
        return AllocationFailed(log, ruleName);
    if (existing.hr >= 0) {
        if (FirewallRuleMatches(existing.rule, direction, exePath)) {
            log.Line("[FW] rule OK name=%s direction=%s exe=%s", ruleName.c_str(), dir, exe.c_str());
            return true;
        }
        FirewallCallResult removed = rules.Remove(name);
        if (removed.stringAllocationFailed)
            return AllocationFailed(log, ruleName);
        log.Line("[FW] stale rule removed name=%s direction=%s hr=0x%08lx", ruleName.c_str(), dir,
                 HrBits(removed.hr));
    } else {
        log.Line("[FW] rule missing name=%s direction=%s itemHr=0x%08lx", ruleName.c_str(), dir,
                 HrBits(existing.hr));
    }

    FirewallCallResult added = rules.Add(AllowRuleFor(name, direction, exePath));
    if (added.stringAllocationFailed)
        return AllocationFailed(log, ruleName);
    if (added.hr < 0) {
        log.Line("[FW] rule add failed name=%s direction=%s hr=0x%08lx exe=%s", ruleName.c_str(), dir,
                 HrBits(added.hr), exe.c_str());
        return false;
    }
    log.Line("[FW] rule added name=%s direction=%s exe=%s", ruleName.c_str(), dir, exe.c_str());

    FirewallLookupResult verify = rules.Find(name);
    if (verify.stringAllocationFailed)
        return AllocationFailed(log, ruleName);
    if (verify.hr < 0) {
        log.Line("[FW] rule verify failed name=%s hr=0x%08lx", ruleName.c_str(), HrBits(verify.hr));
        return false;
    }
    bool ok = FirewallRuleMatches(verify.rule, direction, exePath);
    log.Line("[FW] rule verify name=%s ok=%d hr=0x%08lx", ruleName.c_str(), ok ? 1 : 0, HrBits(verify.hr));
    return ok;
}
