#pragma once

#include <string>

#include "core/ConfigService.h"
#include "core/SettingsClearTypeGuard.h"
#include "core/win/ClearTypeFontSmoothing.h"
#include "core/win/RegistryStore.h"

// The settings' system side: the HKCU keys, the user's language and the font-smoothing guard.
class RegistrySettingsPlatform : public ISettingsPlatform {
public:
    // The program's own keys; created on first use and kept to process end (the host session restores the
    // guard through it).
    static RegistrySettingsPlatform& Instance();

    // Other keys under HKCU, for tests.
    RegistrySettingsPlatform(std::wstring settingsKey, std::wstring clearTypeGuardKey);

    ISettingsStore& SettingsStore() override { return m_settings; }
    TextClearTypeGuard& ClearTypeGuard() override { return m_guard; }
    bool IsSystemLanguageChinese() override;

private:
    RegistryStore m_settings;
    RegistryStore m_guardStore;
    ClearTypeFontSmoothing m_smoothing;
    TextClearTypeGuard m_guard;
};
