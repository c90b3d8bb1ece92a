#include "service/win/WardletServiceControl.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "core/win/Handles.h"
#include "core/win/ModuleFileName.h"
#include "core/win/TextConvert.h"
#include "service/ServiceIdentity.h"
#include "service/WardletCommandLine.h"
#include "service/WardletShared.h"
#include "service/win/SessionHostService.h"
#include "service/win/WardletLog.h"

namespace {

// A failed query counts as not elevated: the SCM would refuse the install anyway.
bool ProcessIsElevated() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    UniqueHandle token(raw);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// The service opened for access; 0 or the Win32 error of the call that failed.
uint32_t OpenWardletService(DWORD access, UniqueServiceHandle& service) {
    UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return ::GetLastError();
    service.Reset(::OpenServiceW(manager.Get(), AsWide(kWardletServiceName).c_str(), access));
    return service ? 0 : ::GetLastError();
}

// Brings the service's settings to what this executable needs; an existing service may have come from
// another folder or an older build. The results are not checked: the start that follows tells.
void ApplyWardletConfiguration(SC_HANDLE service, const std::wstring& imagePath) {
    ::ChangeServiceConfigW(service, SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE,
                           imagePath.c_str(), nullptr, nullptr, nullptr, AsWide(kWardletAccount).c_str(),
                           nullptr, AsWide(kWardletDisplayName).c_str());

    std::wstring text = AsWide(kWardletDescription);
    SERVICE_DESCRIPTIONW description = {};
    description.lpDescription = text.data();
    ::ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, &description);

    SC_ACTION actions[2] = {{SC_ACTION_RESTART, kWardletFirstRestartMs},
                            {SC_ACTION_RESTART, kWardletLaterRestartMs}};
    SERVICE_FAILURE_ACTIONSW failure = {};
    failure.dwResetPeriod = kWardletFailureResetSeconds;
    failure.cActions = 2;
    failure.lpsaActions = actions;
    ::ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failure);
}

} // namespace

uint32_t InstallWardletService() {
    if (!ProcessIsElevated()) {
        std::fputs("Run an elevated command prompt.\n", stderr);
        return kWardletExitNotElevated;
    }
    std::wstring executable = OwnExecutablePath();
    if (executable.empty())
        return ::GetLastError();
    std::wstring imagePath = AsWide(WardletServiceImagePath(AsUtf16(executable.c_str())));
    std::wstring name = AsWide(kWardletServiceName);

    UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager)
        return ::GetLastError();
    UniqueServiceHandle service(::CreateServiceW(
        manager.Get(), name.c_str(), AsWide(kWardletDisplayName).c_str(), SERVICE_ALL_ACCESS,
        SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, imagePath.c_str(), nullptr,
        nullptr, nullptr, AsWide(kWardletAccount).c_str(), nullptr));
    if (!service) {
        DWORD error = ::GetLastError();
        if (error != ERROR_SERVICE_EXISTS)
            return error;
        service.Reset(::OpenServiceW(manager.Get(), name.c_str(), SERVICE_ALL_ACCESS));
        if (!service)
            return ::GetLastError();
    }
    ApplyWardletConfiguration(service.Get(), imagePath);

    uint32_t result = ::StartServiceW(service.Get(), 0, nullptr) ? 0 : InstallStartExitCode(::GetLastError());
    std::fwprintf(stdout, L"Installed/started %ls. Output directory: %ls\n", name.c_str(),
                  WardletLogPath().c_str());
    return result;
}

uint32_t StopWardletService() {
    UniqueServiceHandle service;
    if (uint32_t error = OpenWardletService(SERVICE_STOP, service))
        return error;
    SERVICE_STATUS status = {};
    return ::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status) ? 0 : ::GetLastError();
}

uint32_t UninstallWardletService() {
    StopWardletService();
    // Give the service a moment to stop, so it is gone rather than only marked for deletion.
    ::Sleep(1000);
    UniqueServiceHandle service;
    if (uint32_t error = OpenWardletService(DELETE, service))
        return error;
    return ::DeleteService(service.Get()) ? 0 : ::GetLastError();
}

uint32_t RunWardletServiceDispatcher() {
    std::wstring name = AsWide(kWardletServiceName);
    SERVICE_TABLE_ENTRYW table[] = {{name.data(), ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherW(table) ? 0 : ::GetLastError();
}
