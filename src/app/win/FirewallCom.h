#pragma once

#include <windows.h>
#include <netfw.h>
#include <wrl/client.h>

#include <functional>
#include <string_view>

#include "app/FirewallCheck.h"
#include "app/FirewallLog.h"

// Makes a new, empty rule object to fill and add.
using FirewallRuleFactory = std::function<HRESULT(Microsoft::WRL::ComPtr<INetFwRule>& rule)>;

// The system's rule object (NetFwRule, in-process).
HRESULT CreateNetFwRule(Microsoft::WRL::ComPtr<INetFwRule>& rule);

// The check over a policy object: the system's, or a test's own implementation of the interfaces.
FirewallCheckResult CheckFirewallWith(INetFwPolicy2* policy, std::u16string_view exePath,
                                      const FirewallRuleFactory& createRule, FirewallLog& log);
