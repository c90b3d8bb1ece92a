#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/RuntimeState.h"
#include "core/win/TextConvert.h"
#include "transfer/win/ReceiveFolder.h"

namespace {

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    const DWORD len = ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder(temp, len);
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder + name + std::to_wstring(::GetCurrentProcessId());
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Sets an environment variable for the test's duration.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t old[1024] = {};
        const DWORD len = ::GetEnvironmentVariableW(name, old, 1024);
        m_had = len > 0 && len < 1024;
        m_old.assign(old, m_had ? len : 0);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { ::SetEnvironmentVariableW(m_name, m_had ? m_old.c_str() : nullptr); }

private:
    const wchar_t* m_name;
    bool m_had = false;
    std::wstring m_old;
};

TEST(ReceiveFolderTest, FreeSpaceOfAnExistingFolder) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    uint64_t freeBytes = 0;
    uint32_t error = 1;
    EXPECT_TRUE(CheckDiskSpace(windows, freeBytes, error));
    EXPECT_GT(freeBytes, 0u);
    EXPECT_EQ(error, 0u);
}

TEST(ReceiveFolderTest, MissingFolderIsCreatedBeforeItsSpaceIsAsked) {
    const std::wstring root = TempFolder(L"tsly-space-") + L"\\a\\b";
    uint64_t freeBytes = 0;
    uint32_t error = 0;
    EXPECT_TRUE(CheckDiskSpace(root, freeBytes, error));
    EXPECT_TRUE(IsFolder(root));
    EXPECT_GT(freeBytes, 0u);
    EXPECT_FALSE(CheckDiskSpace(L"", freeBytes, error)) << "no folder, no answer";
}

TEST(ReceiveFolderTest, WithoutAFolderUnderTheCursorTheUsersDesktopIsUsedAndMade) {
    const std::wstring profile = TempFolder(L"tsly-profile-");
    ScopedEnvironment environment(L"USERPROFILE", profile);
    RuntimeSetCursorPath("");

    const std::wstring root = ResolveReceiveFolder("");

    if (!RuntimeMakeSnapshot().cursorPath.empty())
        GTEST_SKIP() << "the cursor rests over a folder on this display";
    EXPECT_EQ(root, profile + L"\\Desktop");
    EXPECT_TRUE(IsFolder(root));
}

TEST(ReceiveFolderTest, ADropFolderIsMadeWithItsAncestors) {
    const std::wstring base = TempFolder(L"tsly-drop-");
    const std::wstring root = ResolveReceiveFolder(WideToUtf8(base.c_str()) + "\\x\\y");
    EXPECT_EQ(root, base + L"\\x\\y");
    EXPECT_TRUE(IsFolder(root));
}

} // namespace
