#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "LogAssertions.h"
#include "ScopedProgramData.h"
#include "TestPaths.h"
#include "service/ExitPolicyMarker.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;

std::string WardletLogSince(size_t offset) {
    const std::string log = ReadWholeFile(WardletLogPath());
    return offset <= log.size() ? log.substr(offset) : log;
}

size_t WardletLogSize() {
    return ReadWholeFile(WardletLogPath()).size();
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteRaw(const std::wstring& path, const void* data, DWORD size) {
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.Valid()) << ::GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), data, size, &written, nullptr));
    ASSERT_EQ(written, size);
}

uint64_t CurrentBootEpoch() {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    return BootEpoch100ns((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime, ::GetTickCount64());
}

const wchar_t kMarker[] = L"user_host_exit_policy.bin";

TEST(WardletExitPolicyMarker, SavedMarkerIsHiddenReplacedAndRestored) {
    const ScopedProgramData programData(L"wardlet-marker-save");
    const size_t logStart = WardletLogSize();
    const std::wstring marker = programData.File(kMarker);

    ASSERT_TRUE(SaveExitPolicyMarker());
    const DWORD attributes = ::GetFileAttributesW(marker.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    const std::string first = ReadWholeFile(marker);
    ASSERT_EQ(first.size(), kExitPolicyMarkerSize);
    const auto decoded = DecodeExitPolicyMarker(reinterpret_cast<const uint8_t*>(first.data()), first.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->windowsBootId, ReadWindowsBootId());
    const uint64_t epoch = CurrentBootEpoch();
    EXPECT_LE(decoded->bootEpoch100ns > epoch ? decoded->bootEpoch100ns - epoch
                                              : epoch - decoded->bootEpoch100ns,
              kSecond);

    // A second save replaces the hidden, system marker in place.
    ASSERT_TRUE(SaveExitPolicyMarker());
    EXPECT_EQ(ReadWholeFile(marker).size(), kExitPolicyMarkerSize);
    EXPECT_FALSE(Exists(marker + L".tmp"));

    EXPECT_TRUE(LoadExitPolicyMarker());
    EXPECT_TRUE(Exists(marker));
    const std::string log = WardletLogSince(logStart);
    const std::string saved =
        "[SESSIONHOST][EXIT_POLICY][SAVED] windowsBootId=" + std::to_string(decoded->windowsBootId) +
        " bootEpoch100ns=";
    EXPECT_EQ(CountOf(log, saved), 2u) << log;
    // The second save may read the same epoch.
    EXPECT_GE(CountOf(log, saved + std::to_string(decoded->bootEpoch100ns) + "\r\n"), 1u) << log;
    EXPECT_TRUE(InOrder(log, {saved, saved,
                              "[SESSIONHOST][EXIT_POLICY][RESTORED] same Windows boot; visible UI auto start "
                              "remains suppressed storedBootId="}));
}

TEST(WardletExitPolicyMarker, NoMarkerMeansNotSuppressed) {
    const ScopedProgramData programData(L"wardlet-marker-none");
    EXPECT_FALSE(LoadExitPolicyMarker());
}

TEST(WardletExitPolicyMarker, StaleMarkersAreDeleted) {
    const ScopedProgramData programData(L"wardlet-marker-stale");
    const std::wstring marker = programData.File(kMarker);
    ExitPolicyMarkerBytes wrongVersion = EncodeExitPolicyMarker({0, CurrentBootEpoch()});
    wrongVersion[4] = 2;
    const ExitPolicyMarkerBytes good = EncodeExitPolicyMarker({0, CurrentBootEpoch()});
    struct Case {
        const char* name;
        const uint8_t* bytes;
        DWORD size;
        const char* line;
    };
    const Case cases[] = {
        {"23 bytes", good.data(), 23,
         "[SESSIONHOST][EXIT_POLICY][STALE] invalid marker removed read=23 error=13"},
        {"empty", good.data(), 0, "[SESSIONHOST][EXIT_POLICY][STALE] invalid marker removed read=0 error=13"},
        {"version 2", wrongVersion.data(), 24,
         "[SESSIONHOST][EXIT_POLICY][STALE] invalid marker removed read=24 error=13"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(DataFolderFile(kMarker).size() > 0) << "data folder refused";
        WriteRaw(marker, c.bytes, c.size);
        const size_t logStart = WardletLogSize();
        EXPECT_FALSE(LoadExitPolicyMarker()) << c.name;
        EXPECT_FALSE(Exists(marker)) << c.name;
        const std::string log = WardletLogSince(logStart);
        EXPECT_EQ(CountOf(log, c.line), 1u) << c.name << "\n" << log;
    }
}

// Without a boot id on one side the boot epochs decide: 119 s apart is this boot, 121 s another.
TEST(WardletExitPolicyMarker, BootEpochDecidesWithoutABootId) {
    const ScopedProgramData programData(L"wardlet-marker-epoch");
    const std::wstring marker = programData.File(kMarker);
    struct Case {
        const char* name;
        int64_t offsetSeconds;
        bool suppressed;
        const char* line;
    };
    const Case cases[] = {
        {"119 s earlier", -119, true, "[SESSIONHOST][EXIT_POLICY][RESTORED] same Windows boot"},
        {"119 s later", 119, true, "[SESSIONHOST][EXIT_POLICY][RESTORED] same Windows boot"},
        {"121 s earlier", -121, false,
         "[SESSIONHOST][EXIT_POLICY][RESET_AFTER_REBOOT] storedBootId=0 currentBootId="},
        {"121 s later", 121, false,
         "[SESSIONHOST][EXIT_POLICY][RESET_AFTER_REBOOT] storedBootId=0 currentBootId="},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(DataFolderFile(kMarker).size() > 0) << "data folder refused";
        const uint64_t epoch = CurrentBootEpoch() + static_cast<uint64_t>(c.offsetSeconds * int64_t(kSecond));
        const ExitPolicyMarkerBytes bytes = EncodeExitPolicyMarker({0, epoch});
        WriteRaw(marker, bytes.data(), static_cast<DWORD>(bytes.size()));
        const size_t logStart = WardletLogSize();
        EXPECT_EQ(LoadExitPolicyMarker(), c.suppressed) << c.name;
        EXPECT_EQ(Exists(marker), c.suppressed) << c.name << ": another boot's marker is deleted";
        const std::string log = WardletLogSince(logStart);
        EXPECT_EQ(CountOf(log, c.line), 1u) << c.name << "\n" << log;
    }
}

} // namespace
