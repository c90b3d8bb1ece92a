#include <gtest/gtest.h>

#include <string>

#include "service/DataFolderPath.h"

namespace {

TEST(DataFolderPath, ProgramDataValueOrTheDefault) {
    struct Case {
        const char* name;
        std::u16string programData;
        std::u16string folder;
    };
    const Case cases[] = {
        {"set", u"D:\\Data", u"D:\\Data\\Marlo"},
        {"one character", u"X", u"X\\Marlo"},
        {"missing", u"", u"C:\\ProgramData\\Marlo"},
        {"259 characters", std::u16string(259, u'p'), std::u16string(259, u'p') + u"\\Marlo"},
        {"260 characters", std::u16string(260, u'p'), u"C:\\ProgramData\\Marlo"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFolderFromProgramData(c.programData), c.folder) << c.name;
    EXPECT_EQ(DataFolderFilePath(u"C:\\ProgramData\\Marlo", u"secure_probe_latest.bmp"),
              u"C:\\ProgramData\\Marlo\\secure_probe_latest.bmp");
}

} // namespace
