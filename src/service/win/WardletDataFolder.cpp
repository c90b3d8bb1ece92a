#include "service/win/WardletDataFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/win/EnvironmentVariable.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/DataFolderPath.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

// The service runs as SYSTEM and trusts what it reads there, and the capture BMPs show logon screens.
constexpr wchar_t kDataFolderSddl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// Each reason is logged once per process: every marker and BMP write asks for the folder again.
std::atomic<unsigned> g_loggedRefusals{0};

void LogRefusal(DataFolderRefusal refusal, const std::wstring& folder) {
    const unsigned bit = 1u << static_cast<unsigned>(refusal);
    if ((g_loggedRefusals.fetch_or(bit) & bit) == 0)
        WardletLog("[DATA_DIR][REFUSED] reason=%s path=%s", DataFolderRefusalText(refusal),
                   WideToUtf8(folder.c_str()).c_str());
}

std::wstring ProgramDataValue() {
    return EnvironmentValue(L"ProgramData").value_or(std::wstring());
}

bool IsOwnUser(PSID owner) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
        return false;
    const UniqueHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return false;
    return ::EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid) != FALSE;
}

DataFolderOwner OwnerOf(const std::wstring& folder) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                nullptr, nullptr, &raw) != ERROR_SUCCESS)
        return DataFolderOwner::Unreadable;
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    if (owner == nullptr)
        return DataFolderOwner::Unreadable;
    if (::IsWellKnownSid(owner, WinLocalSystemSid))
        return DataFolderOwner::System;
    if (::IsWellKnownSid(owner, WinBuiltinAdministratorsSid))
        return DataFolderOwner::Administrators;
    return IsOwnUser(owner) ? DataFolderOwner::OwnUser : DataFolderOwner::Other;
}

DataFolderFacts FactsOf(const std::wstring& folder) {
    DataFolderFacts facts;
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return facts;
    facts.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.isReparsePoint = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (facts.isFolder && !facts.isReparsePoint)
        facts.owner = OwnerOf(folder);
    return facts;
}

std::optional<DataFolderRefusal> PrepareFolder(const std::wstring& folder) {
    PSECURITY_DESCRIPTOR raw = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kDataFolderSddl, SDDL_REVISION_1, &raw, nullptr);
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    SECURITY_ATTRIBUTES security = {sizeof security, raw, FALSE};
    if (::CreateDirectoryW(folder.c_str(), raw != nullptr ? &security : nullptr))
        return std::nullopt;
    if (::GetLastError() != ERROR_ALREADY_EXISTS)
        return DataFolderRefusal::CreateFailed;
    return CheckExistingDataFolder(FactsOf(folder));
}

std::wstring FolderFile(const wchar_t* name, bool logRefusal) {
    const std::wstring folder = AsWide(DataFolderFromProgramData(AsUtf16(ProgramDataValue().c_str())));
    if (const std::optional<DataFolderRefusal> refusal = PrepareFolder(folder)) {
        if (logRefusal)
            LogRefusal(*refusal, folder);
        return {};
    }
    return AsWide(DataFolderFilePath(AsUtf16(folder.c_str()), AsUtf16(name)));
}

} // namespace

std::wstring QuietDataFolderFile(const wchar_t* name) {
    return FolderFile(name, false);
}

std::wstring DataFolderFile(const wchar_t* name) {
    return FolderFile(name, true);
}
