#include "app/win/FirewallWorker.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <exception>

#include "app/FirewallCheck.h"
#include "app/win/FirewallCom.h"
#include "core/Log.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "core/HResultNames.h"

using Microsoft::WRL::ComPtr;

namespace {

// Plain atomic: a worker that outlives shutdown can still clear it safely.
std::atomic<bool> g_firewallCheckRunning{false};

DWORD WINAPI FirewallCheckThreadProc(void*) {
    Log::Write("[FW][ASYNC] worker start");
    {
        ComApartment com;
        if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE)
            Log::Write("[FW][ASYNC] CoInitializeEx failed hr=0x%08lx", HrBits(com.Result()));
        try {
            RunFirewallCheck();
        } catch (const std::exception& e) {
            Log::Write("[THREAD][EXCEPTION] name=FirewallCheck tid=%lu what=%s",
                       static_cast<unsigned long>(Log::CurrentThreadId()), e.what());
        }
    }
    g_firewallCheckRunning.store(false);
    Log::Write("[FW][ASYNC] worker exit");
    return 0;
}

} // namespace

void RunFirewallCheck() {
    FirewallLog log;
    log.Line("[FW] check start");
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        log.Line("[FW] GetModuleFileNameW failed gle=%lu", static_cast<unsigned long>(::GetLastError()));
        return;
    }
    std::u16string_view exe = AsUtf16(path);
    log.Line("[FW] exe path=%s", WideToUtf8(path).c_str());

    ComPtr<INetFwPolicy2> policy;
    HRESULT hr = ::CoCreateInstance(__uuidof(NetFwPolicy2), nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(policy.GetAddressOf()));
    if (FAILED(hr)) {
        log.Line("[FW] CoCreateInstance(NetFwPolicy2) failed hr=0x%08lx", HrBits(hr));
        return;
    }
    CheckFirewallWith(policy.Get(), exe, CreateNetFwRule, log);
}

void ScheduleFirewallCheck() {
    FirewallLog log;
    ScheduleFirewallWorker(
        g_firewallCheckRunning,
        [] {
            UniqueHandle thread(::CreateThread(nullptr, 0, FirewallCheckThreadProc, nullptr, 0, nullptr));
            return thread ? 0u : static_cast<uint32_t>(::GetLastError());
        },
        log);
}

bool FirewallCheckRunning() {
    return g_firewallCheckRunning.load();
}
