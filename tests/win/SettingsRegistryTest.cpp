#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/SettingsClearTypeGuard.h"
#include "core/win/RegistrySettingsPlatform.h"

namespace {

// A value as RegQueryValueExW returns it.
struct RegValue {
    LONG rc = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

RegValue Query(const std::wstring& key, const wchar_t* name) {
    RegValue v;
    HKEY hkey = nullptr;
    v.rc = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &hkey);
    if (v.rc != ERROR_SUCCESS)
        return v;
    BYTE data[64] = {};
    DWORD size = sizeof data;
    v.rc = RegQueryValueExW(hkey, name, nullptr, &v.type, data, &size);
    RegCloseKey(hkey);
    if (v.rc == ERROR_SUCCESS)
        v.bytes.assign(data, data + size);
    return v;
}

// The value when it is a 4-byte REG_DWORD, else ~0u.
DWORD QueryDword(const std::wstring& key, const wchar_t* name) {
    RegValue v = Query(key, name);
    if (v.rc != ERROR_SUCCESS || v.type != REG_DWORD || v.bytes.size() != 4)
        return ~0u;
    return v.bytes[0] | v.bytes[1] << 8 | v.bytes[2] << 16 | DWORD(v.bytes[3]) << 24;
}

void Set(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY hkey = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(hkey, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS)
        << name;
    RegCloseKey(hkey);
}

void SetDword(const std::wstring& key, const wchar_t* name, DWORD value) {
    Set(key, name, REG_DWORD, &value, sizeof value);
}

struct FontSmoothing {
    BOOL enabled = FALSE;
    UINT type = 0;
};

FontSmoothing CurrentFontSmoothing() {
    FontSmoothing f;
    SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &f.enabled, 0);
    SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &f.type, 0);
    return f;
}

void ApplyFontSmoothing(const FontSmoothing& f) {
    SystemParametersInfoW(SPI_SETFONTSMOOTHING, f.enabled, nullptr, SPIF_UPDATEINIFILE);
    SystemParametersInfoW(SPI_SETFONTSMOOTHINGTYPE, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(f.type)),
                          SPIF_UPDATEINIFILE);
}

std::string LogText() {
    Log::Flush();
    return ReadWholeFile(TestExeFolder() + L"Tessaly.log");
}

// Settings and guard keys of this process only, removed before and after each test; the log is open and
// the user's font smoothing is put back afterwards.
class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str());
        m_smoothing = CurrentFontSmoothing();
        ASSERT_TRUE(Log::Open());
        m_service.Attach(m_platform, [this](const PortSet& ports) { m_published.push_back(ports); });
    }
    void TearDown() override {
        Log::Close();
        ApplyFontSmoothing(m_smoothing);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str());
    }

    const std::wstring m_root = L"Software\\Marlo\\TessalyTests\\" + std::to_wstring(GetCurrentProcessId());
    const std::wstring m_settingsKey = m_root + L"\\Settings";
    const std::wstring m_guardKey = m_root + L"\\TextClearTypeGuard";
    RegistrySettingsPlatform m_platform{m_settingsKey, m_guardKey};
    ConfigService m_service;
    std::vector<PortSet> m_published;
    FontSmoothing m_smoothing;
};

TEST_F(SettingsRegistry, LoadRepairsInvalidStoredValuesAndSaveWritesDwordsThatLoadBack) {
    const wchar_t text[] = L"0";
    Set(m_settingsKey, L"AudioEnable", REG_SZ, text, sizeof text); // wrong type
    SetDword(m_settingsKey, L"UiLanguageEnglish", 1);
    const WORD shortValue = 1;
    Set(m_settingsKey, L"FileConflictRename", REG_DWORD, &shortValue, sizeof shortValue); // wrong size
    SetDword(m_settingsKey, L"RemoteTextMode", 2);                                        // migrated to 0
    SetDword(m_settingsKey, L"LongTransferAutoShowDelayMs", 70000);                       // out of range
    SetDword(m_settingsKey, L"VirtualScreenMode", 9);                                     // out of range
    const ULONGLONG quality = 1;
    Set(m_settingsKey, L"VideoQualityMode", REG_QWORD, &quality, sizeof quality); // wrong type and size
    SetDword(m_settingsKey, L"AutoConnectEnable", 1);                             // from before the policy

    m_service.Load();

    ConfigSnapshot s = m_service.GetSnapshot();
    EXPECT_EQ(s.audioEnable, 1u);
    EXPECT_EQ(s.uiLanguageEnglish, 1u);
    EXPECT_EQ(s.fileConflictRename, 0u);
    EXPECT_EQ(s.remoteTextMode, 0u);
    EXPECT_EQ(s.longTransferAutoShowDelayMs, 5000u);
    EXPECT_EQ(s.virtualScreenMode, 0u);
    EXPECT_EQ(s.videoQualityMode, 0u);
    EXPECT_EQ(s.autoConnectEnable, 0u);
    ASSERT_EQ(m_published.size(), 1u);
    EXPECT_EQ(m_published[0].video, 6000);
    EXPECT_EQ(m_published[0].clipboard, 5002);

    // The two migrations are written back; other bad values stay as they were.
    EXPECT_EQ(QueryDword(m_settingsKey, L"RemoteTextMode"), 0u);
    EXPECT_EQ(QueryDword(m_settingsKey, L"AutoConnectEnable"), 0u);
    EXPECT_EQ(QueryDword(m_settingsKey, L"AutoConnectPolicyVersion"), 1u);
    EXPECT_EQ(Query(m_settingsKey, L"AudioEnable").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(QueryDword(m_settingsKey, L"LongTransferAutoShowDelayMs"), 70000u);
    std::string log = LogText();
    EXPECT_NE(log.find("[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=0 present=0 -> policy=1 autoConnect=0 "
                       "writeAuto=1 writeMarker=1"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("RuntimeConfig: virtualScreenMode=9 out of range [0,4], fallback=0"),
              std::string::npos);

    m_service.SetAudioEnable(false);
    m_service.SetFileConflictRename(true);
    m_service.SetVirtualScreenMode(2);
    m_service.SetAutoConnectEnable(true);
    m_service.SetVideoQualityMode(true);
    EXPECT_TRUE(m_service.Save());

    const std::pair<const wchar_t*, DWORD> saved[] = {{L"AudioEnable", 0},
                                                      {L"UiLanguageEnglish", 1},
                                                      {L"FileConflictRename", 1},
                                                      {L"RemoteTextMode", 0},
                                                      {L"LongTransferAutoShowDelayMs", 5000},
                                                      {L"AutoConnectEnable", 1},
                                                      {L"AutoConnectPolicyVersion", 1},
                                                      {L"VirtualScreenMode", 2},
                                                      {L"VideoQualityMode", 1}};
    for (const auto& [name, value] : saved)
        EXPECT_EQ(QueryDword(m_settingsKey, name), value)
            << "name=" << std::string(name, name + wcslen(name));

    ConfigService reloaded;
    reloaded.Attach(m_platform, nullptr);
    reloaded.Load();
    ConfigSnapshot r = reloaded.GetSnapshot();
    EXPECT_EQ(r.audioEnable, 0u);
    EXPECT_EQ(r.fileConflictRename, 1u);
    EXPECT_EQ(r.virtualScreenMode, 2u);
    EXPECT_EQ(r.autoConnectEnable, 1u);
    EXPECT_EQ(r.videoQualityMode, 1u);
}

TEST_F(SettingsRegistry, ResetDeletesTheValuesAndAMissingValueOrKeyCountsAsDeleted) {
    m_service.Load();
    m_service.SetPeerAddress("192.168.77.2");
    m_service.SetVirtualScreenMode(4);
    ASSERT_TRUE(m_service.Save());

    EXPECT_TRUE(m_service.ResetDefaults());
    for (const wchar_t* name :
         {L"AudioEnable", L"UiLanguageEnglish", L"FileConflictRename", L"RemoteTextMode",
          L"LongTransferAutoShowDelayMs", L"VirtualScreenMode", L"VideoQualityMode"})
        EXPECT_EQ(Query(m_settingsKey, name).rc, ERROR_FILE_NOT_FOUND)
            << "name=" << std::string(name, name + wcslen(name));
    EXPECT_EQ(QueryDword(m_settingsKey, L"AutoConnectEnable"), 0u);
    EXPECT_EQ(QueryDword(m_settingsKey, L"AutoConnectPolicyVersion"), 1u);
    EXPECT_EQ(m_service.GetSnapshot().virtualScreenMode, 0u);
    EXPECT_EQ(m_service.GetPeerAddress(), "192.168.77.2");

    EXPECT_TRUE(m_service.ResetDefaults()); // values already gone
    RegDeleteTreeW(HKEY_CURRENT_USER, m_root.c_str());
    EXPECT_TRUE(m_service.ResetDefaults()); // no key at all
    EXPECT_EQ(QueryDword(m_settingsKey, L"AutoConnectPolicyVersion"), 1u);
    EXPECT_EQ(m_published.size(), 4u);
}

TEST_F(SettingsRegistry, APendingFontSmoothingGuardIsRestoredAndClearedAtLoad) {
    for (BOOL wasEnabled : {TRUE, FALSE}) {
        SCOPED_TRACE(wasEnabled ? "was on" : "was off");
        // Start from the opposite state so that the restore has something to change.
        ApplyFontSmoothing({!wasEnabled, m_smoothing.type == 2 ? 2u : 1u});
        UINT oldType = m_smoothing.type == 2 ? 1 : 2;
        SetDword(m_guardKey, L"Active", 1);
        SetDword(m_guardKey, L"WasEnabled", wasEnabled);
        SetDword(m_guardKey, L"OldType", oldType);

        m_service.Load();

        FontSmoothing now = CurrentFontSmoothing();
        EXPECT_EQ(now.enabled != FALSE, wasEnabled != FALSE);
        if (wasEnabled) {
            EXPECT_EQ(now.type, oldType);
        }
        EXPECT_EQ(QueryDword(m_guardKey, L"Active"), 0u);
        std::string log = LogText();
        EXPECT_NE(log.find("[TEXT][CLEARTYPE][STARTUP_RESTORE] wasEnabled=" + std::to_string(wasEnabled) +
                           " oldType=" + std::to_string(oldType) +
                           " reason=config load stale-state recovery only"),
                  std::string::npos)
            << log;
        EXPECT_NE(log.find("[TEXT][CLEARTYPE][RESTORE] ok=1 source=startup reason=config load stale-state "
                           "recovery only"),
                  std::string::npos)
            << log;
    }

    // Cleared: the next load finds nothing to restore.
    m_service.Load();
    EXPECT_NE(LogText().find("[TEXT][CLEARTYPE][STARTUP] no pending restore reason=config load stale-state "
                             "recovery only"),
              std::string::npos);
}

// The program's own keys: a probe value under the settings key, and the guard key restored by the
// process-wide platform (what the host session calls when it ends).
TEST_F(SettingsRegistry, TheProgramsOwnKeysAreTheOnesUsed) {
    const std::wstring settingsKey = L"Software\\Marlo\\Settings";
    const std::wstring guardKey = L"Software\\Marlo\\Tessaly\\TextClearTypeGuard";
    RegistrySettingsPlatform& platform = RegistrySettingsPlatform::Instance();

    SetDword(settingsKey, L"SettingsRegistryTestProbe", 0x01020304);
    std::optional<StoredValue> probe = platform.SettingsStore().Read("SettingsRegistryTestProbe");
    ASSERT_TRUE(probe.has_value());
    EXPECT_EQ(probe->type, static_cast<uint32_t>(REG_DWORD));
    EXPECT_EQ(probe->bytes, (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_TRUE(platform.SettingsStore().DeleteValue("SettingsRegistryTestProbe").Ok());
    EXPECT_EQ(Query(settingsKey, L"SettingsRegistryTestProbe").rc, ERROR_FILE_NOT_FOUND);

    const wchar_t* const guardNames[] = {L"Active", L"WasEnabled", L"OldType"};
    std::vector<RegValue> before;
    for (const wchar_t* name : guardNames)
        before.push_back(Query(guardKey, name));
    SetDword(guardKey, L"Active", 1);
    SetDword(guardKey, L"WasEnabled", m_smoothing.enabled);
    SetDword(guardKey, L"OldType", m_smoothing.type);
    platform.ClearTypeGuard().Restore("settings test");
    EXPECT_EQ(QueryDword(guardKey, L"Active"), 0u);
    EXPECT_NE(
        LogText().find("[TEXT][CLEARTYPE][RESTORE] ok=1 wasEnabled=" + std::to_string(m_smoothing.enabled) +
                       " oldType=" + std::to_string(m_smoothing.type) + " reason=settings test"),
        std::string::npos);

    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i].rc == ERROR_FILE_NOT_FOUND)
            RegDeleteKeyValueW(HKEY_CURRENT_USER, guardKey.c_str(), guardNames[i]);
        else if (before[i].rc == ERROR_SUCCESS)
            Set(guardKey, guardNames[i], before[i].type, before[i].bytes.data(),
                DWORD(before[i].bytes.size()));
    }
}

} // namespace
