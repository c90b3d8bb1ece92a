#include "transfer/win/ManifestFileSystemWin.h"

#include <windows.h>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"

namespace {

uint64_t JoinSize(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

} // namespace

bool Win32ManifestFileSystem::Stat(const std::u16string& path, ManifestPathFacts& facts, uint32_t& error) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(AsWide(path).c_str(), GetFileExInfoStandard, &data)) {
        error = ::GetLastError();
        return false;
    }
    facts.attributes = data.dwFileAttributes;
    facts.isDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.isReparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.size = facts.isDir ? 0 : JoinSize(data.nFileSizeHigh, data.nFileSizeLow);
    return true;
}

bool Win32ManifestFileSystem::List(const std::u16string& directory, std::vector<ManifestDirItem>& items,
                                   uint32_t& error) {
    items.clear();
    std::wstring pattern = AsWide(directory);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data = {};
    UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find.Valid()) {
        error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND; // nothing inside
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        ManifestDirItem item;
        item.name = AsUtf16(name.c_str());
        item.isDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        item.isReparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        item.size = item.isDir ? 0 : JoinSize(data.nFileSizeHigh, data.nFileSizeLow);
        items.push_back(std::move(item));
    } while (::FindNextFileW(find.Get(), &data));
    error = ::GetLastError();
    return error == ERROR_NO_MORE_FILES;
}
