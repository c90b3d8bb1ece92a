#include "service/win/WardletDataFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/DataFolderPath.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

// Only SYSTEM and Administrators may touch the folder: the service, running as SYSTEM, trusts what it reads
// there, and the capture BMPs show logon screens.
constexpr wchar_t kDataFolderSddl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

enum class Refusal : unsigned {
    CreateFailed,
    NotAFolder,
    ReparsePoint,
    OwnerUnreadable,
    ForeignOwner,
    Count
};

const char* RefusalText(Refusal refusal) {
    switch (refusal) {
    case Refusal::CreateFailed:
        return "create_failed";
    case Refusal::NotAFolder:
        return "not_a_folder";
    case Refusal::ReparsePoint:
        return "reparse_point";
    case Refusal::OwnerUnreadable:
        return "owner_unreadable";
    case Refusal::ForeignOwner:
        return "foreign_owner";
    case Refusal::Count:
        break;
    }
    return "unknown";
}

// Each reason is logged once per process: every marker and BMP write asks for the folder again.
std::atomic<unsigned> g_loggedRefusals{0};

void LogRefusal(Refusal refusal, const std::wstring& folder) {
    const unsigned bit = 1u << static_cast<unsigned>(refusal);
    if ((g_loggedRefusals.fetch_or(bit) & bit) == 0)
        WardletLog("[DATA_DIR][REFUSED] reason=%s path=%s", RefusalText(refusal),
                   WideToUtf8(folder.c_str()).c_str());
}

std::wstring ProgramDataValue() {
    const DWORD size = ::GetEnvironmentVariableW(L"ProgramData", nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"ProgramData", value.data(), size);
    if (length == 0 || length >= size)
        return {};
    value.resize(length);
    return value;
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

// Why an existing folder may not be used, if it may not: a reparse point could send SYSTEM's writes
// elsewhere, and a folder someone else made could be read or swapped by them.
std::optional<Refusal> CheckExistingFolder(const std::wstring& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return Refusal::NotAFolder;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return Refusal::ReparsePoint;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                nullptr, nullptr, &raw) != ERROR_SUCCESS)
        return Refusal::OwnerUnreadable;
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    if (owner == nullptr)
        return Refusal::OwnerUnreadable;
    if (::IsWellKnownSid(owner, WinLocalSystemSid) || ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
        IsOwnUser(owner))
        return std::nullopt;
    return Refusal::ForeignOwner;
}

std::optional<Refusal> PrepareFolder(const std::wstring& folder) {
    PSECURITY_DESCRIPTOR raw = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kDataFolderSddl, SDDL_REVISION_1, &raw, nullptr);
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    SECURITY_ATTRIBUTES security = {sizeof security, raw, FALSE};
    if (::CreateDirectoryW(folder.c_str(), raw != nullptr ? &security : nullptr))
        return std::nullopt;
    if (::GetLastError() != ERROR_ALREADY_EXISTS)
        return Refusal::CreateFailed;
    return CheckExistingFolder(folder);
}

std::wstring FolderFile(const wchar_t* name, bool logRefusal) {
    const std::wstring folder = AsWide(DataFolderFromProgramData(AsUtf16(ProgramDataValue().c_str())));
    if (const std::optional<Refusal> refusal = PrepareFolder(folder)) {
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
