#include "core/SettingsLanguage.h"

bool IsChineseLanguage(uint16_t uiLanguageId, const std::optional<std::u16string>& localeName) {
    constexpr uint16_t kPrimaryLanguageMask = 0x3FF; // PRIMARYLANGID
    constexpr uint16_t kLanguageChinese = 0x04;      // LANG_CHINESE
    if ((uiLanguageId & kPrimaryLanguageMask) == kLanguageChinese)
        return true;
    if (!localeName || localeName->size() < 2)
        return false;
    char16_t first = (*localeName)[0];
    char16_t second = (*localeName)[1];
    return (first == u'z' || first == u'Z') && (second == u'h' || second == u'H');
}
