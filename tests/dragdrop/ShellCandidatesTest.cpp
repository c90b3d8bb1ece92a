#include <gtest/gtest.h>

#include <vector>

#include "dragdrop/ShellCandidates.h"

namespace {

ShellCandidate Candidate(bool pointInside, bool hitRoot, bool foreground, int32_t zRank) {
    return ShellCandidate{pointInside, hitRoot, foreground, zRank};
}

TEST(ShellSelectionPick, TheWindowWhoseRootIsUnderThePointWinsOverOneHigherInZOrder) {
    // Two Explorer windows with a selection: one in front that merely overlaps the point's rectangle, one
    // whose root is the window under the point.
    const std::vector<ShellCandidate> candidates = {Candidate(true, false, true, 0),
                                                    Candidate(true, true, false, 3)};
    EXPECT_EQ(PickHitRootThenRank(candidates), 1u);
}

TEST(ShellSelectionPick, WithoutHitRootTheLowerRankWinsAndTiesKeepTheFirst) {
    EXPECT_EQ(
        PickHitRootThenRank(std::vector{Candidate(true, false, false, 5), Candidate(true, false, false, 2)}),
        1u);
    EXPECT_EQ(
        PickHitRootThenRank(std::vector{Candidate(true, true, false, 4), Candidate(true, true, false, 4)}),
        0u);
    EXPECT_EQ(
        PickHitRootThenRank(std::vector{Candidate(true, true, false, 4), Candidate(true, true, false, 1)}),
        1u);
    EXPECT_EQ(PickHitRootThenRank({}), std::nullopt);
}

struct TargetCase {
    const char* name;
    std::vector<ShellCandidate> candidates;
    size_t index;
    ExplorerTargetList list;
};

class ExplorerTargetPickTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ExplorerTargetPickTest, Picks) {
    const TargetCase& c = GetParam();
    const std::optional<ExplorerTargetPick> pick = PickExplorerTarget(c.candidates);
    ASSERT_TRUE(pick.has_value());
    EXPECT_EQ(pick->index, c.index);
    EXPECT_EQ(pick->list, c.list);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExplorerTargetPickTest,
    ::testing::Values(TargetCase{"UnderPointBeatsForegroundAndHigherRank",
                                 {Candidate(false, false, true, 0), Candidate(true, false, false, 7)},
                                 1,
                                 ExplorerTargetList::UnderPoint},
                      TargetCase{"UnderPointHitRootFirst",
                                 {Candidate(true, false, true, 0), Candidate(true, true, false, 4)},
                                 1,
                                 ExplorerTargetList::UnderPoint},
                      TargetCase{"UnderPointForegroundBeforeRank",
                                 {Candidate(true, false, false, 0), Candidate(true, false, true, 4)},
                                 1,
                                 ExplorerTargetList::UnderPoint},
                      TargetCase{"UnderPointTieGoesToLowerRank",
                                 {Candidate(true, true, true, 6), Candidate(true, true, true, 2)},
                                 1,
                                 ExplorerTargetList::UnderPoint},
                      TargetCase{"ForegroundWhenNoneUnderPoint",
                                 {Candidate(false, false, false, 0), Candidate(false, false, true, 9)},
                                 1,
                                 ExplorerTargetList::Foreground},
                      TargetCase{"VisibleFallbackTakesLowestRank",
                                 {Candidate(false, false, false, 3), Candidate(false, false, false, 1),
                                  Candidate(false, false, false, kZRankNotFound)},
                                 1,
                                 ExplorerTargetList::Visible}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return std::string(info.param.name); });

TEST(ExplorerTargetPick, NoCandidateGivesNothing) {
    EXPECT_EQ(PickExplorerTarget({}), std::nullopt);
}

TEST(ShellZRank, IndexInTopLevelOrderOrNotFound) {
    const std::vector<uintptr_t> order = {0x10, 0x20, 0x30};
    EXPECT_EQ(ZRankOf(order, 0x10), 0);
    EXPECT_EQ(ZRankOf(order, 0x30), 2);
    EXPECT_EQ(ZRankOf(order, 0x40), kZRankNotFound);
}

struct ClassCase {
    const char16_t* className;
    bool desktop, shellRoot, textEditor;
};

class ShellClassTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ShellClassTest, Classifies) {
    const ClassCase& c = GetParam();
    EXPECT_EQ(IsDesktopClass(c.className), c.desktop);
    EXPECT_EQ(IsShellRootClass(c.className), c.shellRoot);
    EXPECT_EQ(IsTextEditorClass(c.className), c.textEditor);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShellClassTest,
    ::testing::Values(
        ClassCase{u"Progman", true, true, false}, ClassCase{u"WorkerW", true, true, false},
        ClassCase{u"SHELLDLL_DefView", true, false, false}, ClassCase{u"SysListView32", true, false, false},
        ClassCase{u"CabinetWClass", false, true, false}, ClassCase{u"ExploreWClass", false, true, false},
        ClassCase{u"Edit", false, false, true}, ClassCase{u"EDIT", false, false, true},
        ClassCase{u"RichEdit", false, false, true}, ClassCase{u"richedit20w", false, false, true},
        ClassCase{u"RichEdit20A", false, false, true}, ClassCase{u"RICHEDIT50W", false, false, true},
        ClassCase{u"RichEdit60W", false, false, false}, ClassCase{u"EditX", false, false, false},
        ClassCase{u"DirectUIHWND", false, false, false}, ClassCase{u"", false, false, false}));

} // namespace
