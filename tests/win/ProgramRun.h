#pragma once

#include <windows.h>

#include <string>

#include "TestPaths.h"

inline constexpr wchar_t kMainWindowClass[] = L"Tessaly_UDPVideo_Demo_Wnd";

// A copy of a program (Tessaly.exe, or a test tool beside the test executable) in a folder of its own, so
// that it writes its own log, started with given arguments. Ended in the destructor if still running.
class ProgramRun {
public:
    explicit ProgramRun(const std::wstring& folderName, const std::wstring& program = L"Tessaly.exe")
        : m_program(program) {
        m_folder = TestExeFolder() + L"runs\\" + folderName + L"\\";
        CreateDirectoryW((TestExeFolder() + L"runs").c_str(), nullptr);
        CreateDirectoryW(m_folder.c_str(), nullptr);
        DeleteFileW((m_folder + L"Tessaly.log").c_str());
        m_copied = CopyFileW(SourceOf(program).c_str(), (m_folder + program).c_str(), FALSE) != FALSE;
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    ~ProgramRun() { EndProcess(); }

    // From the next start on: the program inherits this process's inheritable handles.
    void InheritHandles() { m_inheritHandles = true; }
    // From the next start on: the program's standard output and error go to a file read by Output().
    void CaptureOutput() {
        m_captureOutput = true;
        m_inheritHandles = true;
    }

    // Starts the copy; a run this object started before is ended first.
    bool Start(const std::wstring& arguments) {
        if (!m_copied)
            return false;
        EndProcess();
        std::wstring exe = m_folder + m_program;
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        HANDLE output = INVALID_HANDLE_VALUE;
        if (m_captureOutput) {
            SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
            output = CreateFileW(OutputPath().c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                                 CREATE_ALWAYS, 0, nullptr);
            if (output == INVALID_HANDLE_VALUE)
                return false;
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdOutput = output;
            si.hStdError = output;
        }
        bool started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, m_inheritHandles, 0,
                                      nullptr, m_folder.c_str(), &si, &m_process) != FALSE;
        if (output != INVALID_HANDLE_VALUE)
            CloseHandle(output);
        return started;
    }

    // Starts and waits: the exit code, STILL_ACTIVE after timeoutMs, or -1 when it could not start.
    DWORD Run(const std::wstring& arguments, DWORD timeoutMs) {
        return Start(arguments) ? WaitExit(timeoutMs) : static_cast<DWORD>(-1);
    }

    // The exit code, or STILL_ACTIVE when it did not end within timeoutMs.
    DWORD WaitExit(DWORD timeoutMs) {
        if (!m_process.hProcess)
            return STILL_ACTIVE;
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
    // What the last start wrote to standard output and error, with CaptureOutput.
    std::string Output() const { return ReadWholeFile(OutputPath()); }
    // The program's folder, with a trailing separator.
    const std::wstring& Folder() const { return m_folder; }

    // Waits (bounded) until the program's log holds text.
    bool WaitForLog(const std::string& text, DWORD timeoutMs) {
        DWORD start = GetTickCount();
        while (Log().find(text) == std::string::npos) {
            if (GetTickCount() - start >= timeoutMs)
                return false;
            Sleep(50);
        }
        return true;
    }

private:
    void EndProcess() {
        if (m_process.hProcess) {
            if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(m_process.hProcess, 99);
                WaitForSingleObject(m_process.hProcess, 5000);
            }
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
        m_process = {};
    }

    std::wstring OutputPath() const { return m_folder + L"output.txt"; }

    // The programs are built one folder up from the tests (Tessaly.exe unless TSLY_TESSALY_EXE names it);
    // tools sit beside.
    static std::wstring SourceOf(const std::wstring& program) {
        if (program == L"Wardlet.exe")
            return TestExeFolder() + L"..\\Wardlet.exe";
        if (program != L"Tessaly.exe")
            return TestExeFolder() + program;
        wchar_t configured[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"TSLY_TESSALY_EXE", configured, MAX_PATH) > 0)
            return configured;
        return TestExeFolder() + L"..\\Tessaly.exe";
    }

    std::wstring m_program;
    std::wstring m_folder;
    bool m_copied = false;
    bool m_inheritHandles = false;
    bool m_captureOutput = false;
    PROCESS_INFORMATION m_process = {};
};
