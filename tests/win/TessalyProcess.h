#pragma once

#include <windows.h>

#include <string>

#include "TestPaths.h"

inline constexpr wchar_t kMainWindowClass[] = L"Tessaly_UDPVideo_Demo_Wnd";

// A copy of Tessaly.exe in a folder of its own (so it has its own log), started with given arguments.
// The process is ended in the destructor if a test left it running.
class TessalyProcess {
public:
    explicit TessalyProcess(const std::wstring& folderName) {
        m_folder = TestExeFolder() + L"runs\\" + folderName + L"\\";
        CreateDirectoryW((TestExeFolder() + L"runs").c_str(), nullptr);
        CreateDirectoryW(m_folder.c_str(), nullptr);
        DeleteFileW((m_folder + L"Tessaly.log").c_str());
        CopyFileW(SourceExe().c_str(), (m_folder + L"Tessaly.exe").c_str(), FALSE);
    }
    TessalyProcess(const TessalyProcess&) = delete;
    TessalyProcess& operator=(const TessalyProcess&) = delete;
    ~TessalyProcess() {
        if (m_process.hProcess) {
            if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(m_process.hProcess, 99);
                WaitForSingleObject(m_process.hProcess, 5000);
            }
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }

    bool Start(const std::wstring& arguments) {
        std::wstring exe = m_folder + L"Tessaly.exe";
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(),
                              &si, &m_process) != FALSE;
    }

    // The exit code, or STILL_ACTIVE when it did not end within timeoutMs.
    DWORD WaitExit(DWORD timeoutMs) {
        if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    bool Running() { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }

    // The main window of this process, waiting up to timeoutMs for it.
    HWND WaitMainWindow(DWORD timeoutMs) {
        DWORD start = GetTickCount();
        for (;;) {
            for (HWND hwnd = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); hwnd;
                 hwnd = FindWindowExW(nullptr, hwnd, kMainWindowClass, nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == m_process.dwProcessId)
                    return hwnd;
            }
            if (GetTickCount() - start >= timeoutMs || !Running())
                return nullptr;
            Sleep(50);
        }
    }

    std::string Log() const { return ReadWholeFile(m_folder + L"Tessaly.log"); }

private:
    static std::wstring SourceExe() {
        wchar_t configured[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"TSLY_TESSALY_EXE", configured, MAX_PATH) > 0)
            return configured;
        return TestExeFolder() + L"..\\Tessaly.exe";
    }

    std::wstring m_folder;
    PROCESS_INFORMATION m_process = {};
};
