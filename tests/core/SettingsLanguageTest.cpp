#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/SettingsLanguage.h"

namespace {

TEST(SettingsLanguageTest, ChineseByUiLanguageElseByLocaleName) {
    struct Case {
        uint16_t uiLanguage;
        std::optional<std::u16string> locale;
        bool chinese;
    };
    const Case cases[] = {
        {0x0804, u"en-US", true},     // zh-CN UI wins over an English locale
        {0x0404, std::nullopt, true}, // zh-TW UI with no readable locale
        {0x7C04, u"en-US", true},     // zh-Hant: the primary language is all that counts
        {0x0409, u"zh-CN", true},     // English UI, Chinese locale
        {0x0409, u"ZH-hk", true},     // case-insensitive prefix
        {0x0409, u"Zh", true},         {0x0409, u"en-US", false},
        {0x0409, std::nullopt, false}, // unreadable locale name
        {0x0409, u"z", false},         {0x0409, u"", false},
        {0x0409, u"zu-ZA", false}, // Zulu shares the first letter only
        {0x0409, u"hz", false},        {0x0411, u"ja-JP", false},
        {0x0104, u"en-US", false}, // primary language 0x104 only shares Chinese's low byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.uiLanguage << " "
                     << (c.locale ? std::string(c.locale->begin(), c.locale->end()) : "<none>"));
        EXPECT_EQ(IsChineseLanguage(c.uiLanguage, c.locale), c.chinese);
    }
}

} // namespace
