#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "core/PortSet.h"
#include "core/RuntimeConfig.h"

class ISettingsStore;
class TextClearTypeGuard;

// What the settings service needs from the system.
class ISettingsPlatform {
public:
    virtual ~ISettingsPlatform() = default;
    virtual ISettingsStore& SettingsStore() = 0; // the settings key
    virtual TextClearTypeGuard& ClearTypeGuard() = 0;
    virtual bool IsSystemLanguageChinese() = 0;
};

// Receives the port set after every load and reset; start-up wires it to the state manager.
using PortSetPublisher = std::function<void(const PortSet&)>;

// The process's settings: one RuntimeConfig, validated at every load and reset.
//
// Locks: m_mutex guards only the record and is never held while calling out, so readers may be called from
// anywhere, also from the publisher. m_storeMutex serialises Load, Save and ResetDefaults (registry, guard,
// publisher, log lines), so the stored values and the published ports follow the last completed operation.
// Order: m_storeMutex, then m_mutex or the guard's mutex.
class ConfigService {
public:
    // Created on first use and kept to process end.
    static ConfigService& Instance();

    ConfigService() = default;
    ConfigService(const ConfigService&) = delete;
    ConfigService& operator=(const ConfigService&) = delete;

    // Connects the system and the port-set publisher, before Load. Until then Load, Save and ResetDefaults
    // refuse with a log line and the record keeps its defaults.
    void Attach(ISettingsPlatform& platform, PortSetPublisher publisher);

    // Defaults, then the stored values, the two policy migrations, validation, recovery of a pending
    // font-smoothing guard, and the port set published.
    void Load();
    // Stores the persistent fields; false when any write failed (all are tried).
    bool Save();
    // Deletes the stored values and goes back to the defaults; the last peer's address is kept.
    bool ResetDefaults();

    ConfigSnapshot GetSnapshot();
    bool IsUiLanguageEnglish();
    bool IsAutoConnectEnabled();
    PortSet GetPortSet();
    std::string GetPeerAddress();
    uint32_t GetRenderScaleMode();

    // Each stores one field; callers then Save when the value is to persist.
    void SetAudioEnable(bool enabled);
    void SetUiLanguageEnglish(bool english);
    void SetFileConflictRename(bool rename);
    void SetVirtualScreenMode(uint32_t mode); // 0..4; another value is refused with a log line
    void SetAutoConnectEnable(bool enabled);
    void SetVideoQualityMode(bool ultra);
    void SetPeerAddress(std::string address);

private:
    bool WriteDword(ISettingsStore& store, const char* name, uint32_t value);
    bool DeleteValue(ISettingsStore& store, const char* name);
    void Commit(const RuntimeConfig& config, bool keepPeerAddress);
    RuntimeConfig Copy();

    std::mutex m_storeMutex;
    ISettingsPlatform* m_platform = nullptr; // under m_storeMutex
    PortSetPublisher m_publisher;            // under m_storeMutex

    std::mutex m_mutex;
    RuntimeConfig m_config; // under m_mutex
};
