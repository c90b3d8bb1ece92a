#include "core/ConfigService.h"

#include <optional>
#include <utility>

#include "core/Log.h"
#include "core/SettingsClearTypeGuard.h"
#include "core/SettingsStore.h"

namespace {

constexpr const char* kAudioEnable = "AudioEnable";
constexpr const char* kUiLanguageEnglish = "UiLanguageEnglish";
constexpr const char* kFileConflictRename = "FileConflictRename";
constexpr const char* kRemoteTextMode = "RemoteTextMode";
constexpr const char* kLongTransferAutoShowDelayMs = "LongTransferAutoShowDelayMs";
constexpr const char* kAutoConnectEnable = "AutoConnectEnable";
constexpr const char* kAutoConnectPolicyVersion = "AutoConnectPolicyVersion";
constexpr const char* kVirtualScreenMode = "VirtualScreenMode";
constexpr const char* kVideoQualityMode = "VideoQualityMode";

// Installations from before this policy stored auto-connect on; they start with it off.
constexpr uint32_t kAutoConnectPolicy = 1;
constexpr const char* kStartupRestoreReason = "config load stale-state recovery only";

const char* FileConflictText(uint32_t rename) {
    return rename != 0 ? "rename" : "overwrite";
}
const char* VideoQualityText(uint32_t ultra) {
    return ultra != 0 ? "ULTRA" : "H264";
}

void ReadBool(ISettingsStore& store, const char* name, uint32_t& field) {
    if (std::optional<uint32_t> v = ReadStoredDword(store, name))
        field = *v != 0 ? 1 : 0;
}

void ReadNumber(ISettingsStore& store, const char* name, uint32_t& field) {
    if (std::optional<uint32_t> v = ReadStoredDword(store, name))
        field = *v;
}

} // namespace

ConfigService& ConfigService::Instance() {
    static ConfigService* instance = new ConfigService();
    return *instance;
}

void ConfigService::Attach(ISettingsPlatform& platform, PortSetPublisher publisher) {
    std::lock_guard<std::mutex> lock(m_storeMutex);
    m_platform = &platform;
    m_publisher = std::move(publisher);
}

bool ConfigService::WriteDword(ISettingsStore& store, const char* name, uint32_t value) {
    StoreResult r = store.WriteDword(name, value);
    if (r.Ok())
        return true;
    if (r.step == StoreResult::Step::Open)
        Log::Write("[CONFIG][SERVICE] open HKCU settings failed rc=%ld", r.rc);
    else
        Log::Write("[CONFIG][SERVICE] write setting failed name=%s rc=%ld", name, r.rc);
    return false;
}

bool ConfigService::DeleteValue(ISettingsStore& store, const char* name) {
    StoreResult r = store.DeleteValue(name);
    if (r.Ok() || r.rc == kRegistryNotFound) // a missing key or value is as good as deleted
        return true;
    if (r.step == StoreResult::Step::Open)
        Log::Write("[CONFIG][SERVICE] open HKCU settings for delete failed rc=%ld", r.rc);
    else
        Log::Write("[CONFIG][SERVICE] delete setting failed name=%s rc=%ld", name, r.rc);
    return false;
}

RuntimeConfig ConfigService::Copy() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config;
}

void ConfigService::Commit(const RuntimeConfig& config, bool keepPeerAddress) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string peer = std::move(m_config.peerAddress);
    m_config = config;
    if (keepPeerAddress)
        m_config.peerAddress = std::move(peer);
}

void ConfigService::Load() {
    std::lock_guard<std::mutex> storeLock(m_storeMutex);
    if (m_platform == nullptr) {
        Log::Write("[CONFIG][SERVICE] load failed: no settings platform attached");
        return;
    }
    ISettingsStore& store = m_platform->SettingsStore();

    RuntimeConfig c;
    ReadBool(store, kAudioEnable, c.audioEnable);
    std::optional<uint32_t> english = ReadStoredDword(store, kUiLanguageEnglish);
    if (english)
        c.uiLanguageEnglish = *english != 0 ? 1 : 0;
    ReadBool(store, kFileConflictRename, c.fileConflictRename);
    ReadNumber(store, kRemoteTextMode, c.remoteTextMode);
    ReadNumber(store, kLongTransferAutoShowDelayMs, c.longTransferAutoShowDelayMs);
    ReadNumber(store, kVirtualScreenMode, c.virtualScreenMode);
    ReadBool(store, kVideoQualityMode, c.videoQualityMode);

    std::optional<uint32_t> policy = ReadStoredDword(store, kAutoConnectPolicyVersion);
    bool migrated = !policy || *policy < kAutoConnectPolicy;
    if (!migrated) {
        ReadBool(store, kAutoConnectEnable, c.autoConnectEnable);
    } else {
        c.autoConnectEnable = 0;
        bool writeAuto = WriteDword(store, kAutoConnectEnable, 0);
        bool writeMarker = WriteDword(store, kAutoConnectPolicyVersion, kAutoConnectPolicy);
        Log::Write("[CONFIG][AUTOCONNECT_MIGRATION] oldPolicy=%lu present=%d -> policy=%lu autoConnect=0 "
                   "writeAuto=%d writeMarker=%d",
                   static_cast<unsigned long>(policy.value_or(0)), policy ? 1 : 0,
                   static_cast<unsigned long>(kAutoConnectPolicy), writeAuto ? 1 : 0, writeMarker ? 1 : 0);
    }

    if (!english)
        c.uiLanguageEnglish = m_platform->IsSystemLanguageChinese() ? 0 : 1;
    ValidateRuntimeConfig(c);

    m_platform->ClearTypeGuard().RestoreAtStartup(kStartupRestoreReason);

    if (c.remoteTextMode != 0) {
        Log::Write("[CONFIG][MIGRATE] remoteTextMode=%d -> 0 policy=no Windows ClearType changes",
                   static_cast<int>(c.remoteTextMode));
        c.remoteTextMode = 0;
        WriteDword(store, kRemoteTextMode, 0);
    }

    Commit(c, false);
    if (m_publisher)
        m_publisher(PortSetOf(c));
    Log::Write("[CONFIG][SERVICE] load defaults + HKCU audio=%d english=%d fileConflict=%s remoteTextMode=%d "
               "longTransferAutoShowDelayMs=%d autoConnect=%d virtualScreenMode=%d videoQuality=%s "
               "savedLanguage=%d autoConnectMigrated=%d ports video=%u input=%u audio=%u clipboard=%u",
               static_cast<int>(c.audioEnable), static_cast<int>(c.uiLanguageEnglish),
               FileConflictText(c.fileConflictRename), static_cast<int>(c.remoteTextMode),
               static_cast<int>(c.longTransferAutoShowDelayMs), static_cast<int>(c.autoConnectEnable),
               static_cast<int>(c.virtualScreenMode), VideoQualityText(c.videoQualityMode), english ? 1 : 0,
               migrated ? 1 : 0, static_cast<unsigned>(c.videoPort), static_cast<unsigned>(c.inputPort),
               static_cast<unsigned>(c.audioPort), static_cast<unsigned>(c.clipboardPort));
}

bool ConfigService::Save() {
    std::lock_guard<std::mutex> storeLock(m_storeMutex);
    if (m_platform == nullptr) {
        Log::Write("[CONFIG][SERVICE] save failed: no settings platform attached");
        return false;
    }
    ISettingsStore& store = m_platform->SettingsStore();
    RuntimeConfig c = Copy();

    // Every write is tried, also after a failed one.
    bool ok = true;
    ok &= WriteDword(store, kAudioEnable, c.audioEnable != 0 ? 1 : 0);
    ok &= WriteDword(store, kUiLanguageEnglish, c.uiLanguageEnglish != 0 ? 1 : 0);
    ok &= WriteDword(store, kFileConflictRename, c.fileConflictRename != 0 ? 1 : 0);
    ok &= WriteDword(store, kRemoteTextMode, c.remoteTextMode);
    ok &= WriteDword(store, kLongTransferAutoShowDelayMs, c.longTransferAutoShowDelayMs);
    ok &= WriteDword(store, kAutoConnectEnable, c.autoConnectEnable != 0 ? 1 : 0);
    ok &= WriteDword(store, kAutoConnectPolicyVersion, kAutoConnectPolicy);
    ok &= WriteDword(store, kVirtualScreenMode, c.virtualScreenMode);
    ok &= WriteDword(store, kVideoQualityMode, c.videoQualityMode != 0 ? 1 : 0);

    Log::Write("[CONFIG][SERVICE] save audio=%d english=%d fileConflict=%s remoteTextMode=%d "
               "longTransferAutoShowDelayMs=%d autoConnect=%d virtualScreenMode=%d videoQuality=%s ok=%d",
               static_cast<int>(c.audioEnable), static_cast<int>(c.uiLanguageEnglish),
               FileConflictText(c.fileConflictRename), static_cast<int>(c.remoteTextMode),
               static_cast<int>(c.longTransferAutoShowDelayMs), static_cast<int>(c.autoConnectEnable),
               static_cast<int>(c.virtualScreenMode), VideoQualityText(c.videoQualityMode), ok ? 1 : 0);
    return ok;
}

bool ConfigService::ResetDefaults() {
    std::lock_guard<std::mutex> storeLock(m_storeMutex);
    if (m_platform == nullptr) {
        Log::Write("[CONFIG][SERVICE] reset defaults failed: no settings platform attached");
        return false;
    }
    ISettingsStore& store = m_platform->SettingsStore();

    bool ok = true;
    ok &= DeleteValue(store, kAudioEnable);
    ok &= DeleteValue(store, kUiLanguageEnglish);
    ok &= DeleteValue(store, kFileConflictRename);
    ok &= DeleteValue(store, kRemoteTextMode);
    ok &= DeleteValue(store, kLongTransferAutoShowDelayMs);
    ok &= WriteDword(store, kAutoConnectEnable, 0);
    ok &= WriteDword(store, kAutoConnectPolicyVersion, kAutoConnectPolicy);
    ok &= DeleteValue(store, kVirtualScreenMode);
    ok &= DeleteValue(store, kVideoQualityMode);

    RuntimeConfig c;
    c.uiLanguageEnglish = m_platform->IsSystemLanguageChinese() ? 0 : 1;
    ValidateRuntimeConfig(c);
    // The session controller's last peer is not a user setting; readers fall back to it.
    Commit(c, true);
    if (m_publisher)
        m_publisher(PortSetOf(c));
    Log::Write("[CONFIG][SERVICE] reset defaults ok=%d audio=%d english=%d fileConflict=%s remoteTextMode=%d "
               "longTransferAutoShowDelayMs=%d autoConnect=%d virtualScreenMode=%d videoQuality=%s",
               ok ? 1 : 0, static_cast<int>(c.audioEnable), static_cast<int>(c.uiLanguageEnglish),
               FileConflictText(c.fileConflictRename), static_cast<int>(c.remoteTextMode),
               static_cast<int>(c.longTransferAutoShowDelayMs), static_cast<int>(c.autoConnectEnable),
               static_cast<int>(c.virtualScreenMode), VideoQualityText(c.videoQualityMode));
    return ok;
}

ConfigSnapshot ConfigService::GetSnapshot() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return SnapshotOf(m_config);
}

bool ConfigService::IsUiLanguageEnglish() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.uiLanguageEnglish != 0;
}

bool ConfigService::IsAutoConnectEnabled() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.autoConnectEnable != 0;
}

PortSet ConfigService::GetPortSet() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return PortSetOf(m_config);
}

std::string ConfigService::GetPeerAddress() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.peerAddress;
}

uint32_t ConfigService::GetRenderScaleMode() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_config.renderScaleMode;
}

void ConfigService::SetAudioEnable(bool enabled) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.audioEnable = enabled ? 1 : 0;
}

void ConfigService::SetUiLanguageEnglish(bool english) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.uiLanguageEnglish = english ? 1 : 0;
}

void ConfigService::SetFileConflictRename(bool rename) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.fileConflictRename = rename ? 1 : 0;
}

void ConfigService::SetVirtualScreenMode(uint32_t mode) {
    if (mode > 4) {
        Log::Write("[CONFIG][SERVICE] virtualScreenMode=%u refused, valid 0..4", static_cast<unsigned>(mode));
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.virtualScreenMode = mode;
}

void ConfigService::SetAutoConnectEnable(bool enabled) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.autoConnectEnable = enabled ? 1 : 0;
}

void ConfigService::SetVideoQualityMode(bool ultra) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.videoQualityMode = ultra ? 1 : 0;
}

void ConfigService::SetPeerAddress(std::string address) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_config.peerAddress = std::move(address);
}
