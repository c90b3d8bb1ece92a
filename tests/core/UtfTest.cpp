#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/Utf.h"
#include "support/Utf8Checks.h"

namespace {

TEST(UtfTest, EveryCutOfATextWithWideCharactersStaysWhole) {
    const std::string mixed = "a\xC3\xA9"
                              "b\xE4\xB8\xAD"
                              "c\xF0\x9F\x98\x80"
                              "d";
    for (size_t limit = 0; limit <= mixed.size() + 1; ++limit) {
        std::string_view cut = CutUtf8(mixed, limit);
        EXPECT_LE(cut.size(), limit);
        EXPECT_TRUE(IsCompleteUtf8(cut)) << limit;
        EXPECT_EQ(mixed.compare(0, cut.size(), cut), 0);
        EXPECT_GE(cut.size() + 3, std::min(limit, mixed.size())) << "drops at most one partial character";
    }
}

TEST(UtfTest, Utf16ToUtf8Table) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"", ""},
        {u"abc", "abc"},
        {std::u16string(1, u'\0'), std::string(1, '\0')},
        {u"\u007F", "\x7F"},
        {u"\u0080", "\xC2\x80"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u07FF", "\xDF\xBF"},
        {u"\u0800", "\xE0\xA0\x80"},
        {u"\u20AC", "\xE2\x82\xAC"},
        {u"\uFFFF", "\xEF\xBF\xBF"},
        {u"\U00010000", "\xF0\x90\x80\x80"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {u"a\u00E9\U0001F600z", "a\xC3\xA9\xF0\x9F\x98\x80z"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Utf16ToUtf8(in), out) << "input units " << in.size();
}

TEST(UtfTest, Utf8ToUtf16ReversesEveryWellFormedText) {
    const std::u16string texts[] = {u"", u"abc", u"\u0080\u07FF\u0800\uFFFF", u"C:\\Users\\\u00E9\u4E2D",
                                    u"\U00010000\U0001F600\U0010FFFF"};
    for (const auto& text : texts)
        EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
}

TEST(UtfTest, Utf8ToUtf16ReplacesMalformedBytes) {
    const std::u16string r(1, 0xFFFD);
    const std::pair<std::string, std::u16string> cases[] = {
        {"\x80", r},                 // continuation without a lead
        {"a\xC3", u"a" + r},         // cut at the end
        {"\xC3(", r + u"("},         // lead then not a continuation
        {"\xC0\xAF", r + r},         // overlong lead byte is never valid
        {"\xE0\x80\xAF", r},         // overlong three-byte form
        {"\xED\xA0\x80", r},         // an encoded surrogate
        {"\xF4\x90\x80\x80", r},     // beyond U+10FFFF
        {"\xF0\x9F\x98z", r + u"z"}, // four-byte form cut short
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(Utf8ToUtf16(in), out) << in.size() << " bytes";
        EXPECT_FALSE(Utf8ToUtf16Strict(in).has_value()) << in.size() << " bytes";
    }
}

TEST(UtfTest, Utf8ToUtf16StrictKeepsWellFormedText) {
    const std::u16string texts[] = {u"", u"C:\\Users\\\u00E9\u4E2D", u"\uFFFD", u"\U0001F600\U0010FFFF"};
    for (const auto& text : texts)
        EXPECT_EQ(Utf8ToUtf16Strict(Utf16ToUtf8(text)), text);
}

TEST(UtfTest, UnpairedSurrogatesBecomeReplacementCharacter) {
    const std::string kReplacement = "\xEF\xBF\xBD";
    const std::pair<std::u16string, std::string> cases[] = {
        {{0xD83D}, kReplacement},                                      // high at the end
        {{0xDE00}, kReplacement},                                      // low alone
        {{0xD83D, u'A'}, kReplacement + "A"},                          // high then not a low
        {{0xDE00, 0xD83D}, kReplacement + kReplacement},               // reversed pair
        {{0xD83D, 0xD83D, 0xDE00}, kReplacement + "\xF0\x9F\x98\x80"}, // the second high pairs
        {{u'x', 0xDFFF, u'y', 0xDBFF}, "x" + kReplacement + "y" + kReplacement},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Utf16ToUtf8(in), out) << "input units " << in.size();
}

} // namespace

namespace {

TEST(UtfTest, CaseInsensitiveComparisonFoldsOneWayForEveryScriptItKnows) {
    struct Case {
        const char* name;
        std::u16string a, b;
        bool equal;
    };
    const Case cases[] = {
        {"ascii", u"C:\\Program Files\\Tessaly.EXE", u"c:\\program files\\tessaly.exe", true},
        {"latin-1", u"\u00C9L\u00C8VE", u"\u00E9l\u00E8ve", true},
        {"multiplication sign is no letter", u"\u00D7", u"\u00F7", false},
        {"greek", u"\u03A3\u03A9", u"\u03C3\u03C9", true},
        {"cyrillic", u"\u042F\u0401", u"\u044F\u0451", true},
        {"different letters", u"abc", u"abd", false},
        {"different lengths", u"abc", u"ab", false},
        {"outside the folded scripts", u"\u4E2D", u"\u4E2D", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << c.name;
        EXPECT_EQ(EqualsIgnoringCase(c.b, c.a), c.equal) << c.name;
    }
    EXPECT_TRUE(ContainsIgnoringCase(u"Remote NDIS Compatible Device #2", u"remote ndis COMPATIBLE device"));
    EXPECT_FALSE(
        ContainsIgnoringCase(u"Remote NDIS based Internet Sharing Device", u"Remote NDIS Compatible"));
    EXPECT_TRUE(ContainsIgnoringCase(u"abc", u""));
    EXPECT_FALSE(ContainsIgnoringCase(u"ab", u"abc"));
}

} // namespace
