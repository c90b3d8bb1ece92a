#include "core/win/SystemLanguage.h"

#include <windows.h>

#include "core/SettingsLanguage.h"
#include "core/win/TextConvert.h"

bool IsSystemLanguageChinese() {
    std::optional<std::u16string> localeName;
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) > 0)
        localeName = std::u16string(AsUtf16(name));
    return IsChineseLanguage(::GetUserDefaultUILanguage(), localeName);
}
