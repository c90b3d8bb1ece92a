#include "link/win/RndisAdapterWin.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <mutex>
#include <optional>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/Utf.h"
#include "core/win/EnvironmentVariable.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "link/win/DevicePresenceService.h"
#include "link/win/NetDeviceParents.h"

namespace {

constexpr ULONG kAdapterBufferBytes = 16384;
constexpr wchar_t kCmdPath[] = L"C:\\Windows\\System32\\cmd.exe";
constexpr wchar_t kSimulatedAdapterVariable[] = L"TSLY_SIM_CABLE_ADAPTER";

AdapterRecord ToRecord(const IP_ADAPTER_ADDRESSES& adapter) {
    AdapterRecord record;
    for (const char* c = adapter.AdapterName; c != nullptr && *c != '\0'; ++c)
        record.adapterId.push_back(static_cast<char16_t>(static_cast<unsigned char>(*c)));
    record.friendlyName = std::u16string(AsUtf16(adapter.FriendlyName));
    record.description = std::u16string(AsUtf16(adapter.Description));
    record.up = adapter.OperStatus == IfOperStatusUp;
    record.physicalAddress.assign(
        adapter.PhysicalAddress,
        adapter.PhysicalAddress + std::min<ULONG>(adapter.PhysicalAddressLength, MAX_ADAPTER_ADDRESS_LENGTH));
    record.interfaceIndex = adapter.IfIndex;
    for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter.FirstUnicastAddress; unicast != nullptr;
         unicast = unicast->Next) {
        const SOCKADDR* address = unicast->Address.lpSockaddr;
        if (address == nullptr || address->sa_family != AF_INET)
            continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(address);
        record.ipv4.push_back({ntohl(in->sin_addr.s_addr), unicast->OnLinkPrefixLength});
    }
    return record;
}

} // namespace

std::vector<AdapterRecord> ListAdapters() {
    constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = kAdapterBufferBytes;
    std::vector<unsigned char> buffer(size);
    ULONG rc = GetAdaptersAddresses(AF_INET, kFlags, nullptr,
                                    reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    if (rc == ERROR_BUFFER_OVERFLOW) { // grown once, to the size asked for
        buffer.assign(size, 0);
        rc = GetAdaptersAddresses(AF_INET, kFlags, nullptr,
                                  reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    std::vector<AdapterRecord> adapters;
    if (rc == ERROR_NO_DATA)
        return adapters;
    if (rc != NO_ERROR) {
        if (LogThrottle::Allow("rndis.adapters.fail", 10000))
            Log::Write("[RNDIS] GetAdaptersAddresses failed err=%lu", static_cast<unsigned long>(rc));
        return adapters;
    }
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next)
        adapters.push_back(ToRecord(*adapter));
    AttachDeviceParents(adapters, ReadNetDeviceParents());
    return adapters;
}

const std::u16string& SimulatedCableAdapter() {
    static const std::u16string* const simulated = [] {
        auto* value = new std::u16string();
        if (std::optional<std::wstring> text = EnvironmentValue(kSimulatedAdapterVariable))
            *value = AsUtf16(text->c_str());
        if (!value->empty())
            Log::Write("[DEVICE][SIM] TSLY_SIM_CABLE_ADAPTER=%s: this adapter stands for the cable's network "
                       "adapter (test aid)",
                       Utf16ToUtf8(*value).c_str());
        return value;
    }();
    return *simulated;
}

RndisAdapterInfo FindRndisAdapter() {
    return FindRndisAdapter(SimulatedCableAdapter());
}

RndisAdapterInfo FindRndisAdapter(const std::u16string& simulatedDescription) {
    std::vector<AdapterRecord> adapters = ListAdapters();
    return DescribeRndisAdapter(SelectCableAdapter(adapters, simulatedDescription));
}

CableNetwork QueryCableNetwork() {
    std::vector<AdapterRecord> adapters = ListAdapters();
    return DescribeCableNetwork(SelectCableAdapter(adapters, SimulatedCableAdapter()));
}

void CheckRndisAdapter() {
    static std::mutex* const mutex = new std::mutex();
    static RndisAddressCheck* const check = new RndisAddressCheck();
    std::optional<RndisFixPlan> plan;
    {
        std::lock_guard<std::mutex> lock(*mutex);
        plan = check->Next(Log::TickCount(), DevicePresenceService::Presence().IsPresent(), &ListAdapters,
                           SimulatedCableAdapter());
    }
    if (plan)
        RunRndisIpAutoFix(plan->adapterName, plan->ip);
}

bool RunRndisIpAutoFix(const std::u16string& adapterName, const std::u16string& ip) {
    std::optional<std::u16string> arguments = BuildNetshArguments(adapterName, ip);
    if (!arguments)
        return false;
    Log::Write("[RNDIS] auto-fix adapter=%s ip=%s mask=255.0.0.0", Utf16ToUtf8(adapterName).c_str(),
               Utf16ToUtf8(ip).c_str());
    return ReportRndisFixOutcome(RunHiddenProcess(kCmdPath, AsWide(*arguments), kRndisNetshTimeoutMs));
}

NetshOutcome RunHiddenProcess(const std::wstring& application, const std::wstring& arguments,
                              uint32_t timeoutMs) {
    NetshOutcome outcome;
    // The job ends cmd.exe together with the netsh it started; closing it ends whatever is left.
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }

    // argv[0] is the program, as every C runtime (and cmd.exe) expects.
    std::wstring commandLine = L"\"" + application + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &si, &pi)) {
        outcome.kind = NetshOutcome::Kind::LaunchFailed;
        outcome.error = GetLastError();
        return outcome;
    }
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    bool inJob = job && AssignProcessToJobObject(job.Get(), process.Get());
    ResumeThread(thread.Get());

    if (WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.Get(), &code);
        outcome.kind = NetshOutcome::Kind::Exited;
        outcome.exitCode = code;
        return outcome;
    }
    // Still running: a failure. The tree is told to end and not waited for, so the caller (the UI thread)
    // waits no longer than timeoutMs; closing the job at return ends whatever is left.
    outcome.kind = NetshOutcome::Kind::TimedOut;
    outcome.waitedMs = timeoutMs;
    outcome.exitCode = kStillActiveExitCode;
    BOOL ended =
        inJob ? TerminateJobObject(job.Get(), ERROR_TIMEOUT) : TerminateProcess(process.Get(), ERROR_TIMEOUT);
    if (!ended)
        outcome.error = GetLastError();
    outcome.terminated = ended != FALSE;
    return outcome;
}
