#include "core/win/RegistrySettingsPlatform.h"

#include "core/win/SystemLanguage.h"

RegistrySettingsPlatform& RegistrySettingsPlatform::Instance() {
    static RegistrySettingsPlatform* instance = new RegistrySettingsPlatform(
        L"Software\\Marlo\\Settings", L"Software\\Marlo\\Tessaly\\TextClearTypeGuard");
    return *instance;
}

RegistrySettingsPlatform::RegistrySettingsPlatform(std::wstring settingsKey, std::wstring clearTypeGuardKey)
    : m_settings(HKEY_CURRENT_USER, std::move(settingsKey)),
      m_guardStore(HKEY_CURRENT_USER, std::move(clearTypeGuardKey)), m_guard(m_guardStore, m_smoothing) {}

bool RegistrySettingsPlatform::IsSystemLanguageChinese() {
    return ::IsSystemLanguageChinese();
}
