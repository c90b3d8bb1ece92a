#pragma once

#include <windows.h>

#include <string>

#include "TestPaths.h"
#include "core/win/Handles.h"

// Points "ProgramData" at a fresh folder beside the test executable for one test, so Wardlet's data folder
// (<it>\Marlo) starts empty; restores the old value afterwards.
class ScopedProgramData {
public:
    explicit ScopedProgramData(const std::wstring& name) {
        wchar_t old[1024] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"ProgramData", old, 1024);
        m_hadOld = length > 0 && length < 1024;
        m_old = old;
        const std::wstring runs = TestExeFolder() + L"runs";
        ::CreateDirectoryW(runs.c_str(), nullptr);
        m_root = runs + L"\\" + name;
        ::CreateDirectoryW(m_root.c_str(), nullptr);
        Empty(DataFolder());
        ::SetEnvironmentVariableW(L"ProgramData", m_root.c_str());
    }
    ScopedProgramData(const ScopedProgramData&) = delete;
    ScopedProgramData& operator=(const ScopedProgramData&) = delete;
    ~ScopedProgramData() { ::SetEnvironmentVariableW(L"ProgramData", m_hadOld ? m_old.c_str() : nullptr); }

    const std::wstring& Root() const { return m_root; }
    std::wstring DataFolder() const { return m_root + L"\\Marlo"; }
    std::wstring File(const wchar_t* name) const { return DataFolder() + L"\\" + name; }

private:
    // Removes the folder's files (hidden and system ones too) and the folder.
    static void Empty(const std::wstring& folder) {
        WIN32_FIND_DATAW found = {};
        const UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
        if (search.Valid()) {
            do {
                const std::wstring path = folder + L"\\" + found.cFileName;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(path.c_str());
                }
            } while (::FindNextFileW(search.Get(), &found));
        }
        ::RemoveDirectoryW(folder.c_str());
        ::DeleteFileW(folder.c_str());
    }

    std::wstring m_root;
    std::wstring m_old;
    bool m_hadOld = false;
};
