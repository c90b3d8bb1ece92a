#include "service/win/WardletWorker.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <iterator>
#include <string>

#include "core/Utf.h"
#include "core/win/EnvironmentVariable.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/WardletCommandLine.h"
#include "service/WardletShared.h"
#include "service/win/SecureCapture.h"
#include "service/win/SecureFramePublisher.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

std::string ProcessUserName() {
    wchar_t name[257] = {}; // UNLEN + 1
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!::GetUserNameW(name, &size))
        return "<unknown>";
    return WideToUtf8(name);
}

bool BmpDiagnosticsOn() {
    std::optional<std::wstring> value = EnvironmentValue(AsWide(kBmpDiagnosticsVariable).c_str());
    if (!value)
        return false;
    return BmpDiagnosticsRequested(AsUtf16(value->c_str()));
}

} // namespace

uint32_t RunCaptureWorker(std::u16string_view stopHandle, std::u16string_view mode) {
    uint64_t value = ParseStopHandleValue(stopHandle);
    // The service closes its copy of the event once the worker ends; this process owns the inherited one.
    UniqueHandle stopEvent;
    DWORD flags = 0;
    DWORD handleError = ERROR_INVALID_HANDLE;
    if (IsPlausibleStopHandleValue(value)) {
        HANDLE inherited = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
        if (::GetHandleInformation(inherited, &flags))
            stopEvent.Reset(inherited);
        else
            handleError = ::GetLastError();
    }
    if (!stopEvent) {
        // Exit at once, so the service sees the worker end rather than one that can never be stopped.
        WardletLog("worker received invalid stop handle value=%llu error=%lu",
                   static_cast<unsigned long long>(value), static_cast<unsigned long>(handleError));
        return kWardletExitBadStopHandle;
    }

    bool winlogonMode = IsWinlogonWorkerMode(mode);
    bool bmpDiagnostics = BmpDiagnosticsOn();
    std::wstring bmpName = AsWide(WorkerBmpName(winlogonMode));
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    WardletLog("worker entry probeVersion=%s identity=%s session=%lu mode=%s bmpDiagnostics=%u output=%s",
               kWardletProbeVersion, ProcessUserName().c_str(), static_cast<unsigned long>(session),
               WorkerModeName(winlogonMode), bmpDiagnostics ? 1u : 0u,
               WideToUtf8(DataFolderFile(bmpName.c_str()).c_str()).c_str());

    // Only the Winlogon worker publishes: Tessaly shows its own Default desktop itself.
    SecureFramePublisher publisher;
    if (winlogonMode) {
        bool ready = publisher.Init();
        WardletLog("secure shared frame publisher init=%u mapping=%s event=%s buffers=2 targetFps=10",
                   ready ? 1u : 0u, Utf16ToUtf8(kSecureFrameMappingName).c_str(),
                   Utf16ToUtf8(kSecureFrameReadyEventName).c_str());
    }

    // Set from the start, so the first pass builds the capture pipeline.
    UniqueHandle rebuildEvent(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    uint32_t result = 0;
    if (!rebuildEvent) {
        result = ::GetLastError();
    } else {
        SecureCapture capture(winlogonMode ? &publisher : nullptr, bmpDiagnostics ? bmpName : std::wstring());
        result = capture.Run(stopEvent.Get(), rebuildEvent.Get(), false,
                             WorkerAccessDeniedExitCode(winlogonMode), winlogonMode);
    }
    rebuildEvent.Reset();
    publisher.Close();
    WardletLog("worker exit result=%lu", static_cast<unsigned long>(result));
    return result;
}

uint32_t RunCaptureDiagnostic(bool captureOnce) {
    UniqueHandle stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle rebuildEvent(::CreateEventW(nullptr, TRUE, TRUE, nullptr));
    if (!stopEvent || !rebuildEvent)
        return ::GetLastError();
    // BMPs are the point of the diagnostics; nothing is published and no desktop change ends them.
    SecureCapture capture(nullptr, AsWide(kDiagnosticBmpName));
    return capture.Run(stopEvent.Get(), rebuildEvent.Get(), captureOnce, 0, false);
}
