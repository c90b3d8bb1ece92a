#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/Utf.h"
#include "transfer/SafeRelativePath.h"
#include "transfer/SamePath.h"

namespace {

struct PathCase {
    const char* name;
    std::u16string path;
    bool safe;
};

class SafeRelativePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(SafeRelativePathTest, Verdict) {
    EXPECT_EQ(IsSafeRelativePath(GetParam().path), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SafeRelativePathTest,
    ::testing::Values(
        PathCase{"FileInFolderBackslash", u"a\\b.txt", true}, PathCase{"FolderSlash", u"a/b", true},
        PathCase{"PlainName", u"report.docx", true}, PathCase{"LeadingDotName", u".profile", true},
        PathCase{"DotsInside", u"a..b/c.d.e", true}, PathCase{"SpaceInside", u"my file.txt", true},
        PathCase{"NonAscii", u"\u4E2D\u6587/\u00E9t\u00E9.txt", true},
        PathCase{"DeviceWordInsideName", u"console/nullable.txt", true}, PathCase{"ComTen", u"COM10", true},
        PathCase{"Empty", u"", false}, PathCase{"LeadingBackslash", u"\\a", false},
        PathCase{"LeadingSlash", u"/a", false}, PathCase{"DriveRelative", u"C:a", false},
        PathCase{"DriveAbsolute", u"C:\\a", false}, PathCase{"DriveOnly", u"C:", false},
        PathCase{"Unc", u"\\\\server\\share\\a", false}, PathCase{"UncSlashes", u"//server/share/a", false},
        PathCase{"DeviceNamespace", u"\\\\?\\C:\\a", false}, PathCase{"ParentInside", u"a\\..\\b", false},
        PathCase{"ParentOnly", u"..", false}, PathCase{"ParentAtEnd", u"a/..", false},
        PathCase{"CurrentFirst", u".\\a", false}, PathCase{"CurrentInside", u"a/./b", false},
        PathCase{"TrailingSeparator", u"a\\", false}, PathCase{"TrailingSlash", u"a/b/", false},
        PathCase{"DoubleSeparator", u"a\\\\b", false}, PathCase{"MixedDoubleSeparator", u"a/\\b", false},
        PathCase{"AlternateStream", u"a.txt:evil", false}, PathCase{"ColonInFolder", u"a:b/c", false},
        PathCase{"TrailingDot", u"a.", false}, PathCase{"ThreeDots", u"...", false},
        PathCase{"TrailingSpace", u"a /b", false}, PathCase{"LessThan", u"a<b", false},
        PathCase{"GreaterThan", u"a>b", false}, PathCase{"Quote", u"a\"b", false},
        PathCase{"Pipe", u"a|b", false}, PathCase{"Question", u"a?b", false}, PathCase{"Star", u"a*b", false},
        PathCase{"Nul", std::u16string(u"a\0b", 3), false},
        PathCase{"ControlChar",
                 u"a\x1F"
                 u"b",
                 false},
        PathCase{"Con", u"CON", false}, PathCase{"PrnLower", u"prn", false},
        PathCase{"AuxInFolder", u"a/Aux/b", false}, PathCase{"NulWithExtension", u"nul.txt", false},
        PathCase{"NulWithTwoExtensions", u"NUL.tar.gz", false},
        PathCase{"NulSpaceBeforeDot", u"nul .txt", false}, PathCase{"Com1", u"COM1", false},
        PathCase{"Com9Lower", u"com9.log", false}, PathCase{"Lpt1", u"lpt1", false},
        PathCase{"Com0", u"COM0", false}, PathCase{"ComSuperscript", u"COM\u00B9", false},
        PathCase{"ConsoleInput", u"CONIN$", false}, PathCase{"ConsoleOutput", u"conout$.txt", false}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// The components that Windows resolves a path to (as GetFullPathNameW does): both separators, "." and ".."
// applied, trailing dots and spaces dropped from each name.
std::vector<std::u16string> WindowsComponents(const std::u16string& path) {
    std::vector<std::u16string> out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        std::u16string part = path.substr(start, end - start);
        if (part == u"..") {
            if (!out.empty())
                out.pop_back();
        } else if (part != u".") {
            while (!part.empty() && (part.back() == u'.' || part.back() == u' '))
                part.pop_back();
            if (!part.empty())
                out.push_back(part);
        }
        start = end + 1;
    }
    return out;
}

// Any accepted path, joined to a folder, names something below that folder and exactly the names that were
// checked: Windows' own normalisation changes nothing in it.
TEST(SafeRelativePathProperty, AcceptedPathsStayUnderTheRootUnchanged) {
    const std::u16string alphabet = u"ab.. \\\\//:C?N\u00E9";
    const std::u16string root = u"C:\\target\\in";
    const std::vector<std::u16string> rootParts = WindowsComponents(root);
    std::mt19937 random(20260827);
    int accepted = 0;
    for (int i = 0; i < 60000; ++i) {
        std::u16string path;
        size_t length = 1 + random() % 9;
        for (size_t k = 0; k < length; ++k)
            path += alphabet[random() % alphabet.size()];
        if (!IsSafeRelativePath(path))
            continue;
        ++accepted;
        std::vector<std::u16string> parts = WindowsComponents(root + u"\\" + path);
        ASSERT_GT(parts.size(), rootParts.size()) << Utf16ToUtf8(path);
        ASSERT_TRUE(std::equal(rootParts.begin(), rootParts.end(), parts.begin())) << Utf16ToUtf8(path);
        std::vector<std::u16string> own(parts.begin() + static_cast<long>(rootParts.size()), parts.end());
        std::u16string rebuilt;
        for (const std::u16string& part : own)
            rebuilt += (rebuilt.empty() ? u"" : u"\\") + part;
        std::u16string expected = path;
        for (char16_t& c : expected)
            if (c == u'/')
                c = u'\\';
        ASSERT_EQ(rebuilt, expected) << Utf16ToUtf8(path);
        for (const std::u16string& part : own)
            ASSERT_EQ(part.find(u':'), std::u16string::npos) << Utf16ToUtf8(path);
    }
    EXPECT_GT(accepted, 2000) << "the generator must reach accepted paths";
}

struct SameCase {
    const char* name;
    std::u16string a, b;
    bool same;
};

class IsSamePathTest : public ::testing::TestWithParam<SameCase> {};

TEST_P(IsSamePathTest, Verdict) {
    EXPECT_EQ(IsSamePath(GetParam().a, GetParam().b), GetParam().same);
    EXPECT_EQ(IsSamePath(GetParam().b, GetParam().a), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsSamePathTest,
    ::testing::Values(
        SameCase{"Equal", u"C:\\Users\\a\\Desktop\\r.txt", u"C:\\Users\\a\\Desktop\\r.txt", true},
        SameCase{"CaseAndSlashes", u"c:/users/A/desktop/R.TXT", u"C:\\Users\\a\\Desktop\\r.txt", true},
        SameCase{"TrailingSeparatorAndSpace", u"C:\\a\\ \\", u"C:\\a", true},
        SameCase{"Different", u"C:\\a\\r.txt", u"C:\\a\\r (1).txt", false},
        SameCase{"EmptyNeverSame", u"", u"", false}, SameCase{"OneEmpty", u"C:\\a", u"", false}),
    [](const ::testing::TestParamInfo<SameCase>& info) { return std::string(info.param.name); });

} // namespace
