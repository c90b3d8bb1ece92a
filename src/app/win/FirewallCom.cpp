#include "app/win/FirewallCom.h"

#include <memory>
#include <utility>

#include "core/win/Handles.h"

using Microsoft::WRL::ComPtr;

namespace {

// The fields that decide a match; a getter that fails leaves the field at its never-matching default.
FirewallRuleFields ReadRuleFields(INetFwRule* rule) {
    FirewallRuleFields fields;
    UniqueBstr application;
    if (SUCCEEDED(rule->get_ApplicationName(application.Receive())) && application)
        fields.applicationName = std::u16string(application.View());
    NET_FW_RULE_DIRECTION direction{};
    if (SUCCEEDED(rule->get_Direction(&direction)))
        fields.direction = static_cast<int32_t>(direction);
    NET_FW_ACTION action{};
    if (SUCCEEDED(rule->get_Action(&action)))
        fields.action = static_cast<int32_t>(action);
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (SUCCEEDED(rule->get_Enabled(&enabled)))
        fields.enabled = enabled != VARIANT_FALSE;
    LONG profiles = 0;
    if (SUCCEEDED(rule->get_Profiles(&profiles)))
        fields.profiles = profiles;
    LONG protocol = 0;
    if (SUCCEEDED(rule->get_Protocol(&protocol)))
        fields.protocol = protocol;
    return fields;
}

class ComFirewallRules final : public IFirewallRules {
public:
    ComFirewallRules(ComPtr<INetFwRules> rules, FirewallRuleFactory createRule)
        : m_rules(std::move(rules)), m_createRule(std::move(createRule)) {}

    FirewallLookupResult Find(std::u16string_view name) override {
        FirewallLookupResult result;
        UniqueBstr text = UniqueBstr::Copy(name);
        if (!text) {
            result.stringAllocationFailed = true;
            return result;
        }
        ComPtr<INetFwRule> rule;
        HRESULT hr = m_rules->Item(text.Get(), rule.GetAddressOf());
        if (SUCCEEDED(hr) && !rule)
            hr = E_POINTER;
        result.hr = hr;
        if (SUCCEEDED(hr))
            result.rule = ReadRuleFields(rule.Get());
        return result;
    }

    FirewallCallResult Remove(std::u16string_view name) override {
        UniqueBstr text = UniqueBstr::Copy(name);
        if (!text)
            return {0, true};
        return {m_rules->Remove(text.Get()), false};
    }

    FirewallCallResult Add(const FirewallRuleSpec& wanted) override {
        UniqueBstr name = UniqueBstr::Copy(wanted.name);
        UniqueBstr description = UniqueBstr::Copy(wanted.description);
        UniqueBstr application = UniqueBstr::Copy(wanted.applicationName);
        UniqueBstr interfaceTypes = UniqueBstr::Copy(wanted.interfaceTypes);
        if (!name || !description || !application || !interfaceTypes)
            return {0, true};

        ComPtr<INetFwRule> rule;
        HRESULT hr = m_createRule(rule);
        if (SUCCEEDED(hr) && !rule)
            hr = E_POINTER;
        if (FAILED(hr))
            return {hr, false};
        if (FAILED(hr = rule->put_Name(name.Get())) ||
            FAILED(hr = rule->put_Description(description.Get())) ||
            FAILED(hr = rule->put_ApplicationName(application.Get())) ||
            FAILED(hr = rule->put_Protocol(wanted.protocol)) ||
            FAILED(hr = rule->put_Direction(static_cast<NET_FW_RULE_DIRECTION>(wanted.direction))) ||
            FAILED(hr = rule->put_Profiles(wanted.profiles)) ||
            FAILED(hr = rule->put_InterfaceTypes(interfaceTypes.Get())) ||
            FAILED(hr = rule->put_Action(static_cast<NET_FW_ACTION>(wanted.action))) ||
            FAILED(hr = rule->put_Enabled(wanted.enabled ? VARIANT_TRUE : VARIANT_FALSE)))
            return {hr, false};
        return {m_rules->Add(rule.Get()), false};
    }

private:
    ComPtr<INetFwRules> m_rules;
    FirewallRuleFactory m_createRule;
};

class ComFirewallPolicy final : public IFirewallPolicy {
public:
    ComFirewallPolicy(INetFwPolicy2* policy, const FirewallRuleFactory& createRule)
        : m_policy(policy), m_createRule(createRule) {}

    FirewallValue CurrentProfileTypes() override {
        LONG mask = 0;
        HRESULT hr = m_policy->get_CurrentProfileTypes(&mask);
        return {hr, SUCCEEDED(hr) ? static_cast<int32_t>(mask) : 0};
    }

    FirewallValue FirewallEnabled(int32_t profile) override {
        VARIANT_BOOL enabled = VARIANT_FALSE;
        HRESULT hr = m_policy->get_FirewallEnabled(static_cast<NET_FW_PROFILE_TYPE2>(profile), &enabled);
        return {hr, SUCCEEDED(hr) && enabled != VARIANT_FALSE ? 1 : 0};
    }

    std::unique_ptr<IFirewallRules> Rules(int32_t& hr) override {
        ComPtr<INetFwRules> rules;
        hr = m_policy->get_Rules(rules.GetAddressOf());
        if (SUCCEEDED(hr) && !rules)
            hr = E_POINTER;
        if (FAILED(hr))
            return nullptr;
        return std::make_unique<ComFirewallRules>(std::move(rules), m_createRule);
    }

private:
    INetFwPolicy2* m_policy;
    const FirewallRuleFactory& m_createRule;
};

} // namespace

HRESULT CreateNetFwRule(ComPtr<INetFwRule>& rule) {
    return ::CoCreateInstance(__uuidof(NetFwRule), nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(rule.ReleaseAndGetAddressOf()));
}

FirewallCheckResult CheckFirewallWith(INetFwPolicy2* policy, std::u16string_view exePath,
                                      const FirewallRuleFactory& createRule, FirewallLog& log) {
    ComFirewallPolicy adapter(policy, createRule);
    return CheckFirewallPolicy(adapter, exePath, log);
}
