#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/FirewallLog.h"

enum class FirewallDirection : int32_t { Inbound = 1, Outbound = 2 };

inline constexpr int32_t kFirewallActionBlock = 0;
inline constexpr int32_t kFirewallActionAllow = 1;
inline constexpr int32_t kFirewallProtocolAny = 256;
inline constexpr int32_t kFirewallProfilesAll = 0x7FFFFFFF;
inline constexpr std::u16string_view kFirewallInboundRuleName = u"Marlo Tessaly Inbound";
inline constexpr std::u16string_view kFirewallOutboundRuleName = u"Marlo Tessaly Outbound";
inline constexpr std::u16string_view kFirewallRuleDescription = u"Allow Marlo Tessaly network communication";
inline constexpr std::u16string_view kFirewallInterfaceTypesAll = u"All";

// What an existing rule says. Anyone may have written it, so every field may be unset or odd; a field that
// could not be read keeps its default, which never matches.
struct FirewallRuleFields {
    std::optional<std::u16string> applicationName; // none: the rule names no program
    int32_t direction = 0;
    int32_t action = kFirewallActionBlock;
    bool enabled = false;
    int32_t profiles = 0;
    int32_t protocol = 0;
};

// The allow rule this program keeps for its executable.
struct FirewallRuleSpec {
    std::u16string_view name;
    std::u16string_view description;
    std::u16string_view applicationName;
    int32_t protocol = kFirewallProtocolAny;
    int32_t direction = 0;
    int32_t profiles = kFirewallProfilesAll;
    std::u16string_view interfaceTypes;
    int32_t action = kFirewallActionAllow;
    bool enabled = true;
};

FirewallRuleSpec AllowRuleFor(std::u16string_view name, FirewallDirection direction,
                              std::u16string_view exePath);

// Outcome of one call on the rule collection. When a text for the call could not be allocated the call was
// not made and hr means nothing.
struct FirewallCallResult {
    int32_t hr = 0;
    bool stringAllocationFailed = false;
};

struct FirewallLookupResult {
    int32_t hr = 0;
    bool stringAllocationFailed = false;
    FirewallRuleFields rule; // only when hr succeeded
};

// The firewall's rule collection, looked up by rule name. Names are not unique: a look-up gives one of the
// rules of that name.
class IFirewallRules {
public:
    virtual ~IFirewallRules() = default;
    virtual FirewallLookupResult Find(std::u16string_view name) = 0;
    virtual FirewallCallResult Remove(std::u16string_view name) = 0;
    virtual FirewallCallResult Add(const FirewallRuleSpec& rule) = 0;
};

const char* FirewallDirectionText(FirewallDirection direction);

// A rule matches when it allows all traffic of every profile in the wanted direction for exactly this
// executable (path compared ignoring case). A rule without an application name allows nothing of ours.
bool FirewallRuleMatches(const FirewallRuleFields& rule, FirewallDirection direction,
                         std::u16string_view exePath);

// Makes sure a matching rule of this name exists: a stale one is removed and the rule added and verified.
// True when the rule matches at the end.
bool EnsureFirewallRule(IFirewallRules& rules, std::u16string_view name, FirewallDirection direction,
                        std::u16string_view exePath, FirewallLog& log);
