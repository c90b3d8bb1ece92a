#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/AnnexB.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An access unit as encoders emit it: a 4-byte start code before SPS, PPS and the first slice, 3-byte ones
// before later slices.
const Bytes kAccessUnit = {
    0x00, 0x00, 0x00, 0x01, 0x67, 0x64, 0x00, 0x1F, // SPS
    0x00, 0x00, 0x00, 0x01, 0x68, 0xEE, 0x3C, 0x80, // PPS
    0x00, 0x00, 0x00, 0x01, 0x65, 0x88, 0x84,       // IDR slice
    0x00, 0x00, 0x01, 0x65, 0x00, 0x21,             // IDR slice, second part
};

Bytes Types(const Bytes& data) {
    Bytes types;
    ForEachNalUnit(data.data(), data.size(), [&](const NalUnit& unit) {
        types.push_back(unit.Type(data.data()));
        return true;
    });
    return types;
}

TEST(AnnexBTest, WalksUnitsBehindBothStartCodeLengths) {
    EXPECT_EQ(Types(kAccessUnit), (Bytes{7, 8, 5, 5}));
    std::vector<NalUnit> units;
    ForEachNalUnit(kAccessUnit.data(), kAccessUnit.size(), [&](const NalUnit& unit) {
        units.push_back(unit);
        return true;
    });
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[0].startCode, 0u);
    EXPECT_EQ(units[0].header, 4u);
    EXPECT_EQ(units[0].end, 8u);
    EXPECT_EQ(units[3].startCode, 23u);
    EXPECT_EQ(units[3].header, 26u);
    EXPECT_EQ(units[3].end, kAccessUnit.size());
}

TEST(AnnexBTest, EdgesOfTheBuffer) {
    struct Case {
        const char* name;
        Bytes data;
        Bytes types;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"no start code", {0x67, 0x42, 0x00, 0x01}, {}},
        {"start code at the very end", {0x65, 0x00, 0x00, 0x01}, {}},
        {"leading garbage is not a unit", {0x09, 0x10, 0x00, 0x00, 0x01, 0x68}, {8}},
        {"empty unit between two start codes", {0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x65}, {5}},
        {"header byte keeps only five bits", {0x00, 0x00, 0x01, 0xE7}, {7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Types(c.data), c.types) << c.name;
}

TEST(AnnexBTest, StopsWhenTheVisitorSaysSo) {
    int visits = 0;
    ForEachNalUnit(kAccessUnit.data(), kAccessUnit.size(), [&](const NalUnit&) { return ++visits < 2; });
    EXPECT_EQ(visits, 2);
}

TEST(AnnexBTest, PresenceOfIdrSpsAndPps) {
    NalPresence all = ScanNalTypes(kAccessUnit.data(), kAccessUnit.size());
    EXPECT_TRUE(all.idr && all.sps && all.pps);
    const Bytes slice = {0x00, 0x00, 0x01, 0x41, 0x9A};
    NalPresence none = ScanNalTypes(slice.data(), slice.size());
    EXPECT_FALSE(none.idr || none.sps || none.pps);
}

TEST(AnnexBTest, ExtractsEachTypeWithItsStartCode) {
    EXPECT_EQ(ExtractNalUnits(kAccessUnit.data(), kAccessUnit.size(), kNalSps),
              (Bytes{0x00, 0x00, 0x00, 0x01, 0x67, 0x64, 0x00, 0x1F}));
    EXPECT_EQ(ExtractNalUnits(kAccessUnit.data(), kAccessUnit.size(), kNalPps),
              (Bytes{0x00, 0x00, 0x00, 0x01, 0x68, 0xEE, 0x3C, 0x80}));
    EXPECT_EQ(ExtractNalUnits(kAccessUnit.data(), kAccessUnit.size(), kNalIdrSlice).size(), 7u + 6u);
    EXPECT_TRUE(ExtractNalUnits(kAccessUnit.data(), kAccessUnit.size(), 1).empty());
}

TEST(AnnexBTest, FirstPayloadStartsAtTheHeaderByte) {
    EXPECT_EQ(FirstNalPayload(kAccessUnit.data(), kAccessUnit.size(), kNalPps), (Bytes{0x68, 0xEE, 0x3C, 0x80}));
    EXPECT_EQ(FirstNalPayload(kAccessUnit.data(), kAccessUnit.size(), kNalIdrSlice), (Bytes{0x65, 0x88, 0x84}));
    EXPECT_TRUE(FirstNalPayload(kAccessUnit.data(), kAccessUnit.size(), 1).empty());
}

} // namespace
