#include <gtest/gtest.h>

#include <string>

#include "dragdrop/RemoteDragOfferText.h"

namespace {

using RemoteDragOfferText::Fields;

TEST(RemoteDragOfferText, RoundTripKeepsEveryFieldIncludingNewlinesInTheTexts) {
    Fields offer;
    offer.id = 18446744073709551615ull;
    offer.count = 4294967295u;
    offer.bytes = 123456789012ull;
    offer.folder = true;
    offer.detail = "C:\\a\nb.txt +2";
    offer.httpPayload = "mode=http_manifest\ntransferId=9\nmanifestUrl=http://10.0.0.2:80/manifest\n";
    const std::string text = RemoteDragOfferText::Build(offer);
    EXPECT_EQ(text.back(), '\n') << "the payload's own last byte, no trailing separator added";
    EXPECT_EQ(text.substr(0, 47), "18446744073709551615\n4294967295\n123456789012\n1\n");

    Fields parsed;
    ASSERT_TRUE(RemoteDragOfferText::Parse(text, parsed));
    EXPECT_EQ(parsed.id, offer.id);
    EXPECT_EQ(parsed.count, offer.count);
    EXPECT_EQ(parsed.bytes, offer.bytes);
    EXPECT_TRUE(parsed.folder);
    EXPECT_EQ(parsed.detail, offer.detail);
    EXPECT_EQ(parsed.httpPayload, offer.httpPayload);
}

TEST(RemoteDragOfferText, BuildWritesTheEightFieldsInOrder) {
    Fields offer;
    offer.id = 1;
    offer.count = 2;
    offer.bytes = 30;
    offer.detail = "C:\\x +1";
    offer.httpPayload = "p=1";
    EXPECT_EQ(RemoteDragOfferText::Build(offer), "1\n2\n30\n0\n7\nC:\\x +1\n3\np=1");
}

TEST(RemoteDragOfferText, FourFieldsGiveAnOfferWithoutDetailOrPayload) {
    Fields parsed;
    parsed.detail = "old";
    ASSERT_TRUE(RemoteDragOfferText::Parse("7\n3\n900\n0", parsed));
    EXPECT_EQ(parsed.id, 7u);
    EXPECT_EQ(parsed.count, 3u);
    EXPECT_EQ(parsed.bytes, 900u);
    EXPECT_FALSE(parsed.folder);
    EXPECT_EQ(parsed.detail, "");
    EXPECT_EQ(parsed.httpPayload, "");
}

struct Refused {
    const char* name;
    std::string text;
};

class RemoteDragOfferTextRefusal : public ::testing::TestWithParam<Refused> {};

TEST_P(RemoteDragOfferTextRefusal, IsNotAnOffer) {
    Fields parsed;
    parsed.id = 55;
    EXPECT_FALSE(RemoteDragOfferText::Parse(GetParam().text, parsed));
    EXPECT_EQ(parsed.id, 55u) << "a refused text leaves the record alone";
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteDragOfferTextRefusal,
    ::testing::Values(
        Refused{"Empty", ""}, Refused{"ThreeFields", "1\n1\n10"},
        Refused{"CountZero", "1\n0\n10\n0\n0\n\n0\n"}, Refused{"CountMinusOne", "1\n-1\n10\n0"},
        Refused{"CountPlus", "1\n+1\n10\n0"}, Refused{"CountPast32Bits", "1\n4294967296\n10\n0"},
        Refused{"CountWithSpace", "1\n 1\n10\n0"}, Refused{"IdNonDigit", "1x\n1\n10\n0"},
        Refused{"IdPast64Bits", "18446744073709551616\n1\n10\n0"}, Refused{"BytesMinus", "1\n1\n-5\n0"},
        Refused{"BytesPast64Bits", "1\n1\n99999999999999999999\n0"}, Refused{"FolderTwo", "1\n1\n10\n2"},
        Refused{"FolderEmpty", "1\n1\n10\n"}, Refused{"TrailingNewlineAfterFour", "1\n1\n10\n0\n"},
        Refused{"DetailLengthNotNumber", "1\n1\n10\n0\nabc\nrest"},
        Refused{"DetailLengthMinusOne", "1\n1\n10\n0\n-1\nx\n0\n"},
        Refused{"DetailLengthPlus", "1\n1\n10\n0\n+1\nx\n0\n"},
        Refused{"DetailLengthPast32Bits", "1\n1\n10\n0\n4294967297\nx\n0\n"},
        Refused{"DetailPastText", "1\n1\n10\n0\n50\nshort\n0\n"},
        Refused{"DetailNotFollowedBySeparator", "1\n1\n10\n0\n2\nabc\n0\n"},
        Refused{"PayloadLengthMissing", "1\n1\n10\n0\n1\na"},
        Refused{"PayloadLengthNotNumber", "1\n1\n10\n0\n1\na\nzz\n"},
        Refused{"PayloadPastText", "1\n1\n10\n0\n1\na\n9\nabc"},
        Refused{"PayloadLengthPast64Bits", "1\n1\n10\n0\n1\na\n18446744073709551617\nabc"}),
    [](const ::testing::TestParamInfo<Refused>& info) { return std::string(info.param.name); });

} // namespace
