#include "core/win/ModuleFileName.h"

#include <windows.h>

namespace {

// The longest path Windows handles (\\?\ form), with its terminator.
constexpr size_t kLongestPath = 32768;

} // namespace

std::wstring OwnExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // A full buffer means the path was cut.
        if (path.size() >= kLongestPath) {
            ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return {};
        }
        path.resize(path.size() * 2);
    }
}
