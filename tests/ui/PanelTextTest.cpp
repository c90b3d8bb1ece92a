#include <gtest/gtest.h>

#include <string>

#include "core/Utf.h"
#include "ui/PanelText.h"

namespace {

TEST(PanelTextTest, WellFormedShortTextIsKept) {
    EXPECT_EQ(SafePanelText("MacBook 10.0.0.2"), "MacBook 10.0.0.2");
    EXPECT_EQ(SafePanelText("远端Mac"), "远端Mac");
    EXPECT_EQ(SafePanelText(""), "");
}

TEST(PanelTextTest, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(SafePanelText("a\xFF"
                            "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(SafePanelText("\xC3"), "\xEF\xBF\xBD"); // a lead byte without its tail
    EXPECT_TRUE(Utf8ToUtf16Strict(SafePanelText("\xED\xA0\x80 \xF8\x88\x80\x80\x80")).has_value());
}

TEST(PanelTextTest, ControlCharactersBecomeSpaces) {
    EXPECT_EQ(SafePanelText(std::string("a\r\nb\tc\x7F", 7) + std::string(1, '\0') + "d"), "a  b c  d");
}

TEST(PanelTextTest, LongTextIsCutAtACharacterBoundary) {
    std::string text(kPanelTextMaxBytes - 1, 'x');
    text += "中文"; // the first character would end 2 bytes past the limit
    const std::string safe = SafePanelText(text);
    EXPECT_EQ(safe, std::string(kPanelTextMaxBytes - 1, 'x'));
    // Replacement characters grow the text; the result still fits.
    const std::string bad(kPanelTextMaxBytes, '\xFF');
    const std::string replaced = SafePanelText(bad);
    EXPECT_LE(replaced.size(), kPanelTextMaxBytes);
    EXPECT_EQ(replaced.size() % 3, 0u);
    EXPECT_TRUE(Utf8ToUtf16Strict(replaced).has_value());
    EXPECT_EQ(SafePanelText("abcdef", 4), "abcd");
}

} // namespace
