#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dragdrop/LocalSelectionCache.h"
#include "dragdrop/LocalSelectionSource.h"

namespace {

const std::vector<std::u16string> kPaths = {u"C:\\a.txt", u"C:\\b"};

TEST(LocalSelectionCache, AFillForTheGestureIsTakenWithinFifteenSeconds) {
    LocalSelectionCache cache;
    const auto fill = cache.BeginFill(3, {10, 20});
    EXPECT_TRUE(cache.IsFillRunning());
    EXPECT_EQ(cache.FinishFill(fill, kPaths, 1000), SelectionStore::Stored);
    EXPECT_FALSE(cache.IsFillRunning());

    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    EXPECT_EQ(cache.Take(3, 16000, paths, age, start), SelectionTake::Hit);
    EXPECT_EQ(paths, kPaths);
    EXPECT_EQ(age, 15000u);
    EXPECT_EQ(start, (ScreenPoint{10, 20}));

    EXPECT_EQ(cache.Take(3, 16001, paths, age, start), SelectionTake::Stale);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(age, 15001u);
    EXPECT_EQ(cache.Take(4, 2000, paths, age, start), SelectionTake::Empty) << "another gesture";
}

TEST(LocalSelectionCache, ALateFillNeverFillsAClearedCacheOrANewerGesture) {
    LocalSelectionCache cache;
    const auto old = cache.BeginFill(1, {0, 0});
    cache.Clear();
    EXPECT_EQ(cache.FinishFill(old, kPaths, 500), SelectionStore::Stale);
    EXPECT_TRUE(cache.IsEmpty());

    const auto first = cache.BeginFill(2, {0, 0});
    const auto second = cache.BeginFill(3, {5, 5});
    EXPECT_EQ(cache.FinishFill(first, kPaths, 500), SelectionStore::Stale);
    EXPECT_TRUE(cache.IsFillRunning()) << "the newer fill still runs";
    EXPECT_EQ(cache.FinishFill(second, {}, 600), SelectionStore::Miss);
    EXPECT_FALSE(cache.IsFillRunning());
    EXPECT_TRUE(cache.IsEmpty());
}

TEST(LocalSelectionCache, ClearEndsTheFillsClaimAndEmpties) {
    LocalSelectionCache cache;
    cache.FinishFill(cache.BeginFill(1, {0, 0}), kPaths, 500);
    EXPECT_EQ(cache.Count(), 2u);
    cache.BeginFill(2, {0, 0});
    cache.Clear();
    EXPECT_FALSE(cache.IsFillRunning());
    EXPECT_TRUE(cache.IsEmpty());
    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    EXPECT_EQ(cache.Take(1, 600, paths, age, start), SelectionTake::Empty);
}

TEST(LocalSelectionCache, AFillAtTickZeroStillCounts) {
    LocalSelectionCache cache;
    cache.FinishFill(cache.BeginFill(1, {0, 0}), kPaths, 0);
    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    EXPECT_EQ(cache.Take(1, 10, paths, age, start), SelectionTake::Hit);
}

} // namespace

namespace {

class FakeSelectionSource final : public ILocalSelectionSource {
public:
    std::vector<std::u16string> paths;
    bool fail = false;
    ScreenPoint askedAt{-1, -1};
    // Runs while the source is being asked, as another thread's clear would.
    std::function<void()> duringAsk;
    bool SelectionAt(ScreenPoint point, std::vector<std::u16string>& out, std::string& error) override {
        askedAt = point;
        if (duringAsk)
            duringAsk();
        if (fail) {
            error = "CoInitializeEx failed";
            return false;
        }
        out = paths;
        return true;
    }
};

TEST(LocalSelectionFill, StoresWhatTheSourceFoundAtTheStartPoint) {
    LocalSelectionCache cache;
    FakeSelectionSource source;
    source.paths = kPaths;
    uint32_t clock = 700;
    const auto result = RunSelectionFill(cache, cache.BeginFill(9, {40, 50}), source, [&] { return clock; });
    EXPECT_EQ(source.askedAt, (ScreenPoint{40, 50}));
    EXPECT_EQ(result.store, SelectionStore::Stored);
    EXPECT_EQ(result.count, 2u);
    EXPECT_EQ(result.first, u"C:\\a.txt");
    std::vector<std::u16string> paths;
    uint32_t age = 0;
    ScreenPoint start;
    EXPECT_EQ(cache.Take(9, clock + 100, paths, age, start), SelectionTake::Hit);
    EXPECT_EQ(age, 100u);
}

TEST(LocalSelectionFill, AClearWhileTheShellIsAskedDropsTheResult) {
    LocalSelectionCache cache;
    FakeSelectionSource source;
    source.paths = kPaths;
    source.duringAsk = [&] { cache.Clear(); };
    const auto result = RunSelectionFill(cache, cache.BeginFill(1, {0, 0}), source, [] { return 5u; });
    EXPECT_EQ(result.store, SelectionStore::Stale);
    EXPECT_TRUE(cache.IsEmpty());
}

TEST(LocalSelectionFill, AFailedSourceIsAMissThatEndsTheFill) {
    LocalSelectionCache cache;
    FakeSelectionSource source;
    source.paths = kPaths;
    source.fail = true;
    const auto result = RunSelectionFill(cache, cache.BeginFill(1, {0, 0}), source, [] { return 5u; });
    EXPECT_FALSE(result.asked);
    EXPECT_EQ(result.error, "CoInitializeEx failed");
    EXPECT_EQ(result.store, SelectionStore::Miss);
    EXPECT_FALSE(cache.IsFillRunning());
}

} // namespace
