#include <gtest/gtest.h>

#include <optional>
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

TEST(DataFolderPath, AnExistingFolderIsTrustedOnlyWhenItsOwnerIs) {
    using Owner = DataFolderOwner;
    using Refusal = DataFolderRefusal;
    struct Case {
        const char* name;
        DataFolderFacts facts;
        std::optional<Refusal> refusal;
    };
    const Case cases[] = {
        {"SYSTEM's folder", {true, false, Owner::System}, std::nullopt},
        {"Administrators' folder", {true, false, Owner::Administrators}, std::nullopt},
        {"own user's folder", {true, false, Owner::OwnUser}, std::nullopt},
        {"another user's folder", {true, false, Owner::Other}, Refusal::ForeignOwner},
        {"owner unreadable", {true, false, Owner::Unreadable}, Refusal::OwnerUnreadable},
        {"junction, even of SYSTEM", {true, true, Owner::System}, Refusal::ReparsePoint},
        {"a file", {false, false, Owner::System}, Refusal::NotAFolder},
        {"a reparse point that is no folder", {false, true, Owner::System}, Refusal::NotAFolder},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckExistingDataFolder(c.facts), c.refusal) << c.name;
    EXPECT_STREQ(DataFolderRefusalText(Refusal::ReparsePoint), "reparse_point");
    EXPECT_STREQ(DataFolderRefusalText(Refusal::ForeignOwner), "foreign_owner");
}

} // namespace
