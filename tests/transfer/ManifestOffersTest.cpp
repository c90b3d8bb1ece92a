#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "support/TestLog.h"
#include "transfer/ManifestJson.h"
#include "transfer/ManifestOffers.h"

namespace {

ManifestEntry FileEntry(uint32_t id, std::u16string absolute, uint64_t size = 1) {
    ManifestEntry entry;
    entry.id = id;
    entry.absolutePath = std::move(absolute);
    entry.relativePath = "x";
    entry.size = size;
    return entry;
}

std::shared_ptr<const ManifestOffer> Offer(uint64_t id) {
    return MakeManifestOffer(
        id, {FileEntry(1, u"C:\\o" + std::u16string(1, static_cast<char16_t>(u'a' + id % 26)))});
}

TEST(ManifestOfferStoreTest, KeepsTheLastSixteenOffers) {
    ManifestOfferStore store;
    EXPECT_EQ(store.Newest(), nullptr);
    for (uint64_t id = 2600001; id <= 2600017; ++id)
        store.Add(Offer(id));
    EXPECT_EQ(store.Find(2600001), nullptr); // the oldest of 17 is gone
    for (uint64_t id = 2600002; id <= 2600017; ++id) {
        ASSERT_NE(store.Find(id), nullptr) << id;
        EXPECT_EQ(store.Find(id)->id, id);
    }
    EXPECT_EQ(store.Newest()->id, 2600017u);
    EXPECT_EQ(store.Find(0), nullptr);
}

TEST(ManifestOfferTest, CarriesTextAndTotal) {
    ManifestEntry dir;
    dir.id = 2;
    dir.absolutePath = u"C:\\d";
    dir.relativePath = "d";
    dir.isDir = true;
    std::vector<ManifestEntry> entries = {FileEntry(1, u"C:\\a", 5), dir, FileEntry(3, u"C:\\d\\b", 7)};
    const std::string json = WriteManifestJson(entries, 42);
    auto offer = MakeManifestOffer(42, entries);
    ASSERT_NE(offer, nullptr);
    EXPECT_EQ(offer->id, 42u);
    EXPECT_EQ(offer->json, json);
    EXPECT_EQ(offer->totalBytes, 12u);
    EXPECT_EQ(offer->entries.size(), 3u);
}

TEST(ManifestOfferTest, TextPastTheReceiverLimitIsRefused) {
    Log::Open();
    TestLog().Clear();
    // Each entry's path is written twice (fullPath and url), so a few long paths pass 16 MiB.
    std::vector<ManifestEntry> entries;
    const std::u16string longName(300000, u'n');
    for (uint32_t i = 1; i <= 30; ++i)
        entries.push_back(
            FileEntry(i, u"C:\\" + longName + std::u16string(1, static_cast<char16_t>(u'A' + i))));
    EXPECT_EQ(MakeManifestOffer(1, entries), nullptr);
    EXPECT_EQ(CountLogMessages("[HTTP][SERVER][ERR] manifest too large"), 1u);
    Log::Close();
}

struct LookupCase {
    const char* name;
    std::u16string requested;
    int expectedId; // 0: not found
};

class ManifestLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ManifestLookupTest, Finds) {
    ManifestEntry dir;
    dir.id = 3;
    dir.absolutePath = u"C:\\Data\\Folder";
    dir.isDir = true;
    const std::vector<ManifestEntry> entries = {FileEntry(1, u"C:\\Data\\Report.txt"),
                                                FileEntry(2, u"C:\\Data\\\u00C9t\u00E9.doc"), dir,
                                                FileEntry(4, u"C:\\Data\\report.txt")};
    const ManifestEntry* found = FindOfferedFile(entries, GetParam().requested);
    if (GetParam().expectedId == 0) {
        EXPECT_EQ(found, nullptr);
    } else {
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->id, static_cast<uint32_t>(GetParam().expectedId));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ManifestLookupTest,
    ::testing::Values(LookupCase{"exact", u"C:\\Data\\Report.txt", 1},
                      LookupCase{"caseDiffersFirstWins", u"c:\\data\\REPORT.TXT", 1},
                      LookupCase{"forwardSlashes", u"C:/Data/Report.txt", 1},
                      LookupCase{"trailingBlanks", u"C:\\Data\\Report.txt \t\r\n", 1},
                      LookupCase{"nonAsciiCase", u"C:\\DATA\\\u00E9T\u00C9.DOC", 2},
                      LookupCase{"directoryNotServed", u"C:\\Data\\Folder", 0},
                      LookupCase{"notOffered", u"C:\\Data\\Other.txt", 0},
                      LookupCase{"parentSpelling", u"C:\\Data\\Folder\\..\\Report.txt", 0},
                      LookupCase{"leadingBlankNotCut", u" C:\\Data\\Report.txt", 0},
                      LookupCase{"empty", u"", 0}, LookupCase{"onlyBlanks", u"  ", 0}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

} // namespace
