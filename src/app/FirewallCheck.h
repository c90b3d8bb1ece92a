#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "app/FirewallLog.h"
#include "app/FirewallRules.h"

struct FirewallValue {
    int32_t hr = 0;
    int32_t value = 0;
};

// The firewall policy object: its profile state and its rule collection.
class IFirewallPolicy {
public:
    virtual ~IFirewallPolicy() = default;
    virtual FirewallValue CurrentProfileTypes() = 0; // value: mask of 1 domain, 2 private, 4 public
    virtual FirewallValue FirewallEnabled(int32_t profile) = 0; // value: 1 or 0
    // The rule collection, or null with hr saying why.
    virtual std::unique_ptr<IFirewallRules> Rules(int32_t& hr) = 0;
};

struct FirewallCheckResult {
    bool rulesChecked = false; // false when the rule collection was unavailable
    bool inbound = false;
    bool outbound = false;
};

// The check once the policy object exists: log the profiles, ensure the inbound and then the outbound rule.
FirewallCheckResult CheckFirewallPolicy(IFirewallPolicy& policy, std::u16string_view exePath,
                                        FirewallLog& log);

// Starts a check worker unless one is running. startWorker starts the thread, whose end clears running, and
// returns 0 or the system error. True when a worker was started; the caller never waits for it.
bool ScheduleFirewallWorker(std::atomic<bool>& running, const std::function<uint32_t()>& startWorker,
                            FirewallLog& log);
