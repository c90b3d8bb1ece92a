#include "service/win/WardletExecutable.h"

#include <windows.h>

std::wstring WardletExecutablePath() {
    // Long-path-aware installs may exceed MAX_PATH; 32,767 is the longest path Windows has.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::wstring path(size, L'\0');
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0)
            return {};
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
