#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Chinese when the primary language of the user's UI language id is Chinese, else when the user's locale
// name begins with "zh" in any case; an unreadable locale name (nothing) counts as not Chinese.
bool IsChineseLanguage(uint16_t uiLanguageId, const std::optional<std::u16string>& localeName);
