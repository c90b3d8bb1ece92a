#include <windows.h>

#include "transfer/win/ReceiveFolder.h"

#include <filesystem>
#include <system_error>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/EnvironmentVariable.h"
#include "core/win/TextConvert.h"
#include "input/win/MonitorExports.h"
#include "transfer/TargetRoot.h"

namespace {

void CreateFolderTree(const std::wstring& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
}

TargetRootFacts SystemFacts() {
    TargetRootFacts facts;
    facts.cursorPath = [] {
        // The monitor polls; asking it now gives the folder under the cursor at this moment.
        CursorPathMonitorDllRefreshNow();
        return Utf8ToUtf16(RuntimeMakeSnapshot().cursorPath);
    };
    facts.environment = [](const char* name) -> std::optional<std::u16string> {
        const std::wstring wideName(name, name + std::char_traits<char>::length(name));
        const std::optional<std::wstring> value = EnvironmentValue(wideName.c_str());
        if (!value || value->empty())
            return std::nullopt;
        return std::u16string(AsUtf16(value->c_str()));
    };
    facts.pathKind = [](const std::u16string& path) {
        const DWORD attributes = ::GetFileAttributesW(AsWide(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return TargetRootFacts::PathKind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? TargetRootFacts::PathKind::Folder
                                                            : TargetRootFacts::PathKind::File;
    };
    facts.currentDirectory = [] {
        const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
        std::wstring folder(needed, L'\0');
        const DWORD written = needed != 0 ? ::GetCurrentDirectoryW(needed, folder.data()) : 0;
        folder.resize(written < needed ? written : 0);
        return std::u16string(AsUtf16(folder.c_str()));
    };
    return facts;
}

bool FreeBytesOf(const std::wstring& folder, uint64_t& freeBytes) {
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr))
        return false;
    freeBytes = available.QuadPart;
    return true;
}

} // namespace

std::wstring ResolveReceiveFolder(const std::string& targetPathUtf8) {
    const TargetRootChoice choice = ResolveTargetRoot(targetPathUtf8, SystemFacts());
    const std::wstring root = AsWide(choice.root);
    CreateFolderTree(root);
    Log::Write("FileHttpReceiveManager target root=%s source=%s", Utf16ToUtf8(choice.root).c_str(),
               choice.source);
    return root;
}

bool CheckDiskSpace(const std::wstring& root, uint64_t& freeBytes, uint32_t& systemError) {
    freeBytes = 0;
    systemError = 0;
    if (root.empty())
        return false;
    if (::GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateFolderTree(root);
    if (FreeBytesOf(root, freeBytes))
        return true;
    systemError = ::GetLastError();
    const std::wstring drive = std::filesystem::path(root).root_path().wstring();
    if (!drive.empty() && FreeBytesOf(drive, freeBytes))
        return true;
    if (!drive.empty())
        systemError = ::GetLastError();
    return false;
}
