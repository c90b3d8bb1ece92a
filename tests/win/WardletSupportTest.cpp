#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <winioctl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "ScopedProgramData.h"
#include "TestPaths.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "service/WardletShared.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

// A directory junction at link pointing at target (an absolute path), as "mklink /J" makes one.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr))
        return false;
    const UniqueHandle folder(::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                            nullptr));
    if (!folder.Valid())
        return false;
    // REPARSE_DATA_BUFFER of a mount point: tag, data length, reserved, then four name offsets and lengths
    // and the substitute and print names, each with its terminating zero.
    const std::wstring substitute = L"\\??\\" + target;
    const size_t namesBytes = (substitute.size() + 1 + target.size() + 1) * sizeof(wchar_t);
    std::vector<uint8_t> buffer(16 + namesBytes);
    auto put16 = [&](size_t at, size_t value) {
        buffer[at] = static_cast<uint8_t>(value);
        buffer[at + 1] = static_cast<uint8_t>(value >> 8);
    };
    const uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, 8 + namesBytes);
    put16(8, 0);
    put16(10, substitute.size() * sizeof(wchar_t));
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));
    put16(14, target.size() * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), target.c_str(),
                (target.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    return ::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                             static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr) != FALSE;
}

TEST(WardletSupport, ErrorTextIsTheSystemTextWithoutLineEnds) {
    const std::string denied = ErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_EQ(denied.find_first_of("\r\n"), std::string::npos) << denied;
    EXPECT_NE(ErrorText(static_cast<uint32_t>(E_OUTOFMEMORY)), "");
    EXPECT_EQ(ErrorText(0x2000FFFF), "") << "no system text for a made-up code";
}

TEST(WardletSupport, ServiceEventsAreNamedAndSignalable) {
    const std::wstring name = L"Local\\WardletSupportTestEvent" + std::to_wstring(::GetCurrentProcessId());
    const std::u16string name16(name.begin(), name.end());
    const UniqueHandle event = CreateServiceEvent(name16.c_str(), kUserSignalableEventSddl, true);
    ASSERT_TRUE(event.Valid()) << ::GetLastError();

    const UniqueHandle opened(::OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str()));
    ASSERT_TRUE(opened.Valid());
    ASSERT_TRUE(::SetEvent(opened.Get()));
    EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(::WaitForSingleObject(event.Get(), 0), WAIT_OBJECT_0) << "manual reset";

    const UniqueHandle again = CreateServiceEvent(name16.c_str(), kUserHostReadyEventSddl, false);
    EXPECT_TRUE(again.Valid());
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_ALREADY_EXISTS});

    // A descriptor that does not convert falls back to default security.
    const std::u16string other = name16 + u"Auto";
    const UniqueHandle fallback = CreateServiceEvent(other.c_str(), u"D:(not sddl", false);
    ASSERT_TRUE(fallback.Valid());
    const UniqueHandle signaller(::OpenEventW(EVENT_MODIFY_STATE, FALSE, AsWide(other).c_str()));
    ASSERT_TRUE(::SetEvent(fallback.Get()));
    EXPECT_EQ(::WaitForSingleObject(fallback.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(::WaitForSingleObject(fallback.Get(), 0), WAIT_TIMEOUT) << "auto reset";
}

TEST(WardletSupport, ServiceEventFailureKeepsTheError) {
    const std::wstring name = L"Local\\WardletSupportTestMutex" + std::to_wstring(::GetCurrentProcessId());
    const UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    ASSERT_TRUE(mutex.Valid());
    const std::u16string name16(name.begin(), name.end());
    const UniqueHandle event = CreateServiceEvent(name16.c_str(), kUserSignalableEventSddl, true);
    EXPECT_FALSE(event.Valid());
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_INVALID_HANDLE}) << "a name taken by a mutex";
}

TEST(WardletSupport, BmpFileHoldsTheHeaderAndTheRows) {
    const ScopedProgramData programData(L"wardlet-bmp");
    constexpr int32_t kWidth = 3;
    constexpr int32_t kHeight = 2;
    constexpr int32_t kStride = 16; // 4 bytes of padding a row, not written
    std::vector<uint8_t> pixels(kStride * kHeight);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i % kStride < 12 ? i + 1 : 0xEE);

    ASSERT_TRUE(WriteBmpFile(L"secure_probe_latest.bmp", pixels.data(), kWidth, kHeight, kStride));
    const std::string file = ReadWholeFile(programData.File(L"secure_probe_latest.bmp"));
    ASSERT_EQ(file.size(), 54u + 24u);
    const uint8_t header[54] = {'B', 'M', 78, 0, 0,    0,    0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0,  0,
                                3,   0,   0,  0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 32, 0, 0, 0, 0,  0, 24, 0,
                                0,   0,   0,  0, 0,    0,    0,    0,    0, 0, 0,  0, 0, 0, 0,  0, 0,  0};
    EXPECT_EQ(std::memcmp(file.data(), header, 54), 0);
    EXPECT_EQ(std::memcmp(file.data() + 54, pixels.data(), 12), 0);
    EXPECT_EQ(std::memcmp(file.data() + 66, pixels.data() + kStride, 12), 0);
    const std::wstring temporary = L"secure_probe_" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    EXPECT_EQ(::GetFileAttributesW(programData.File(temporary.c_str()).c_str()), INVALID_FILE_ATTRIBUTES);

    // A second write replaces the file.
    pixels[0] = 0x55;
    ASSERT_TRUE(WriteBmpFile(L"secure_probe_latest.bmp", pixels.data(), kWidth, kHeight, kStride));
    EXPECT_EQ(static_cast<uint8_t>(ReadWholeFile(programData.File(L"secure_probe_latest.bmp"))[54]), 0x55);

    ::SetLastError(0);
    EXPECT_FALSE(WriteBmpFile(L"bad.bmp", pixels.data(), kWidth, kHeight, 8)) << "rows overlap";
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_FALSE(WriteBmpFile(L"bad.bmp", pixels.data(), 0, kHeight, kStride));
}

TEST(WardletSupport, DataFolderIsCreatedOnUse) {
    const ScopedProgramData programData(L"wardlet-folder");
    EXPECT_EQ(DataFolderFile(L"x.bin"), programData.File(L"x.bin"));
    const DWORD attributes = ::GetFileAttributesW(programData.DataFolder().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(DataFolderFile(L"y.bin"), programData.File(L"y.bin")) << "an existing own folder is fine";
}

TEST(WardletSupport, DataFolderThatIsAFileIsRefused) {
    const ScopedProgramData programData(L"wardlet-folder-file");
    {
        const UniqueHandle file(::CreateFileW(programData.DataFolder().c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.Valid());
    }
    const size_t logStart = ReadWholeFile(WardletLogPath()).size();
    EXPECT_EQ(DataFolderFile(L"x.bin"), L"");
    EXPECT_FALSE(SaveExitPolicyMarker());
    const std::string log = ReadWholeFile(WardletLogPath()).substr(logStart);
    EXPECT_EQ(CountOf(log, "[DATA_DIR][REFUSED] reason=not_a_folder path="), 1u) << "logged once\n" << log;
}

// A folder someone else made could be read or swapped by them.
TEST(WardletSupport, DataFolderOwnedByAnotherUserIsRefused) {
    const ScopedProgramData programData(L"wardlet-folder-owner");
    ASSERT_TRUE(::CreateDirectoryW(programData.DataFolder().c_str(), nullptr));
    BYTE everyone[SECURITY_MAX_SID_SIZE] = {};
    DWORD sidSize = sizeof everyone;
    ASSERT_TRUE(::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &sidSize));
    std::wstring folder = programData.DataFolder();
    if (::SetNamedSecurityInfoW(folder.data(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, everyone, nullptr,
                                nullptr, nullptr) != ERROR_SUCCESS)
        GTEST_SKIP() << "this system does not let the test give the folder another owner";
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                      nullptr, nullptr, nullptr, &raw),
              DWORD{ERROR_SUCCESS});
    const std::unique_ptr<void, LocalFreeDeleter> descriptor(raw);
    if (!::EqualSid(owner, everyone))
        GTEST_SKIP() << "this system accepted another owner for the folder but does not keep it";

    const size_t logStart = ReadWholeFile(WardletLogPath()).size();
    EXPECT_EQ(DataFolderFile(L"x.bin"), L"");
    EXPECT_FALSE(WriteBmpFile(L"x.bmp", reinterpret_cast<const uint8_t*>("\1\2\3\4"), 1, 1, 4));
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_PATH_NOT_FOUND}) << "never access denied, which ends the capture";
    const std::string log = ReadWholeFile(WardletLogPath()).substr(logStart);
    EXPECT_EQ(CountOf(log, "[DATA_DIR][REFUSED] reason=foreign_owner path="), 1u) << log;
}

// A junction in place of the data folder would send SYSTEM's writes wherever it points.
TEST(WardletSupport, DataFolderThatIsAReparsePointIsRefused) {
    const ScopedProgramData programData(L"wardlet-folder-junction");
    const std::wstring target = programData.Root() + L"\\elsewhere";
    ::CreateDirectoryW(target.c_str(), nullptr);
    // Some systems report success from CreateSymbolicLinkW without making a link: look at what is there.
    auto isReparsePoint = [&] {
        const DWORD attributes = ::GetFileAttributesW(programData.DataFolder().c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    };
    ::CreateSymbolicLinkW(programData.DataFolder().c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    if (!isReparsePoint()) {
        ::RemoveDirectoryW(programData.DataFolder().c_str());
        MakeJunction(programData.DataFolder(), target);
    }
    if (!isReparsePoint())
        GTEST_SKIP() << "this system made no reparse point (CreateSymbolicLinkW and FSCTL_SET_REPARSE_POINT)";

    const size_t logStart = ReadWholeFile(WardletLogPath()).size();
    EXPECT_EQ(DataFolderFile(L"x.bin"), L"");
    const std::string log = ReadWholeFile(WardletLogPath()).substr(logStart);
    EXPECT_EQ(CountOf(log, "[DATA_DIR][REFUSED] reason=reparse_point path="), 1u) << log;
    ::RemoveDirectoryW(programData.DataFolder().c_str());
}

} // namespace
