#include <gtest/gtest.h>

#include <string>

#include "link/LocalIdentity.h"
#include "support/Utf8Checks.h"

namespace {

using namespace Discovery;

TEST(ControlLocalIdentity, ComputerNameGivesIdNameAndVersion) {
    LocalIdentity pc = MakeLocalIdentity("DESK-7");
    EXPECT_EQ(pc.id, "TSLY-DESK-7");
    EXPECT_EQ(pc.name, "DESK-7");
    EXPECT_EQ(pc.version, "20260827.3");
}

TEST(ControlLocalIdentity, WithoutANameTheDefaultsStand) {
    LocalIdentity pc = MakeLocalIdentity("");
    EXPECT_EQ(pc.id, "TSLY-UNKNOWN");
    EXPECT_EQ(pc.name, "Tessaly");
    EXPECT_EQ(pc.version, "20260827.3");
}

TEST(ControlLocalIdentity, ALongNameIsCutLikeTheNameBuffer) {
    std::string name;
    for (int i = 0; i < 60; ++i)
        name += "\xE6\xA1\x8C"; // three bytes each
    LocalIdentity pc = MakeLocalIdentity(name);
    EXPECT_EQ(pc.name.size(), 126u);
    EXPECT_TRUE(IsCompleteUtf8(pc.name));
    EXPECT_EQ(pc.id, "TSLY-" + pc.name);
}

TEST(ControlLocalIdentity, TheProcessIdentityIsWhatWasSetLast) {
    LocalIdentity before = CurrentLocalIdentity();
    SetLocalIdentity(MakeLocalIdentity("FIRST"));
    SetLocalIdentity(MakeLocalIdentity("SECOND"));
    EXPECT_EQ(CurrentLocalIdentity().id, "TSLY-SECOND");
    SetLocalIdentity(before);
}

} // namespace
