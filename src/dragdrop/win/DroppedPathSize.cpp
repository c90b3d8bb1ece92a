#include "dragdrop/win/DroppedPathSize.h"

#include <windows.h>

#include "core/win/Handles.h"

namespace {

constexpr int kMaxDepth = 64;

uint64_t Add(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

uint64_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

bool IsEnterableFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

uint64_t SumFolder(const std::wstring& folder, int depth) {
    if (depth >= kMaxDepth)
        return 0;
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    const std::wstring prefix = pattern;
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &found));
    if (!find.Valid())
        return 0;
    uint64_t total = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (IsEnterableFolder(found.dwFileAttributes))
                total = Add(total, SumFolder(prefix + name, depth + 1));
        } else {
            total = Add(total, SizeOf(found.nFileSizeHigh, found.nFileSizeLow));
        }
    } while (::FindNextFileW(find.Get(), &found));
    return total;
}

} // namespace

uint64_t SumDroppedPaths(const std::wstring& path, bool& folder) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    folder = true;
    return IsEnterableFolder(data.dwFileAttributes) ? SumFolder(path, 0) : 0;
}
