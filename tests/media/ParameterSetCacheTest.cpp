#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/AnnexB.h"
#include "media/ParameterSetCache.h"
#include "support/NalUnits.h"

namespace {

using namespace nal_units;

void Complete(const ParameterSetCache& cache, Bytes& output, bool expectInserted) {
    EXPECT_EQ(cache.CompleteOutput(output, ScanNalTypes(output.data(), output.size())), expectInserted);
}

TEST(ParameterSetCacheTest, KeepsSpsAndPpsApart) {
    ParameterSetCache cache;
    const Bytes first = Cat({kSpsA, kPpsA, kIdr});
    EXPECT_TRUE(cache.Update(first.data(), first.size()));
    EXPECT_EQ(cache.Sps(), kSpsA);
    EXPECT_EQ(cache.Pps(), kPpsA);

    // An output with only a new SPS replaces the SPS and keeps the PPS.
    const Bytes spsOnly = Cat({kSpsB, kIdr});
    EXPECT_TRUE(cache.Update(spsOnly.data(), spsOnly.size()));
    EXPECT_EQ(cache.Sps(), kSpsB);
    EXPECT_EQ(cache.Pps(), kPpsA);

    const Bytes ppsOnly = Cat({kPpsB, kP});
    EXPECT_TRUE(cache.Update(ppsOnly.data(), ppsOnly.size()));
    EXPECT_EQ(cache.Sps(), kSpsB);
    EXPECT_EQ(cache.Pps(), kPpsB);
    EXPECT_EQ(cache.Bytes(), kSpsB.size() + kPpsB.size());

    EXPECT_FALSE(cache.Update(kP.data(), kP.size()));
    EXPECT_EQ(cache.Sps(), kSpsB);
    cache.Clear();
    EXPECT_TRUE(cache.Empty());
}

TEST(ParameterSetCacheTest, CompletesOutputsThatLackParameterSets) {
    struct Case {
        const char* name;
        Bytes output;
        bool inserted;
        Bytes expected;
    };
    const Case cases[] = {
        {"IDR alone gets SPS and PPS", kIdr, true, Cat({kSpsA, kPpsA, kIdr})},
        {"IDR with both is unchanged", Cat({kSpsB, kPpsB, kIdr}), false, Cat({kSpsB, kPpsB, kIdr})},
        {"SPS without PPS gets the PPS after it", Cat({kSpsB, kIdr}), true, Cat({kSpsB, kPpsA, kIdr})},
        {"IDR with PPS only gets the SPS in front", Cat({kPpsB, kIdr}), true, Cat({kSpsA, kPpsB, kIdr})},
        {"P frame is unchanged", kP, false, kP},
        {"SPS alone gets the PPS", kSpsB, true, Cat({kSpsB, kPpsA})},
    };
    ParameterSetCache cache;
    const Bytes first = Cat({kSpsA, kPpsA, kIdr});
    ASSERT_TRUE(cache.Update(first.data(), first.size()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes output = c.output;
        Complete(cache, output, c.inserted);
        EXPECT_EQ(output, c.expected);
    }
}

TEST(ParameterSetCacheTest, EmptyCacheLeavesOutputAlone) {
    ParameterSetCache cache;
    Bytes output = kIdr;
    Complete(cache, output, false);
    EXPECT_EQ(output, kIdr);
}

TEST(ParameterSetCacheTest, AnSpsOnlyOutputDoesNotLoseTheCachedPps) {
    // The sequence the encoder sees: full IDR, then an output carrying a new SPS alone, then a bare IDR.
    ParameterSetCache cache;
    const Bytes first = Cat({kSpsA, kPpsA, kIdr});
    cache.Update(first.data(), first.size());
    Bytes spsOnly = Cat({kSpsB, kIdr});
    cache.Update(spsOnly.data(), spsOnly.size());
    Complete(cache, spsOnly, true);
    EXPECT_EQ(spsOnly, Cat({kSpsB, kPpsA, kIdr}));
    Bytes bare = kIdr;
    Complete(cache, bare, true);
    EXPECT_EQ(bare, Cat({kSpsB, kPpsA, kIdr}));
}

} // namespace
