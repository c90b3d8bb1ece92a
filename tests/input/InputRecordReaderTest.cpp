#include <gtest/gtest.h>

#include <vector>

#include "input/InputRecordReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(const InputPacket& packet) {
    Bytes bytes(kInputPacketSize);
    EncodeInputPacket(packet, bytes.data());
    return bytes;
}

Bytes Stream(int count) {
    Bytes all;
    for (int i = 0; i < count; ++i) {
        Bytes r = Record(MakeInputPacket(InputPacketType::Key, i, i, 65 + i, 1));
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}

// Feeds the stream in pieces of the given sizes (cycling) and collects the y of every record.
std::vector<int32_t> ReadInPieces(const Bytes& stream, const std::vector<size_t>& pieces) {
    InputRecordReader reader;
    std::vector<int32_t> seen;
    size_t at = 0;
    for (size_t i = 0; at < stream.size(); ++i) {
        size_t size = std::min(pieces[i % pieces.size()], stream.size() - at);
        at += reader.Append(stream.data() + at, size);
        InputPacket packet;
        uint32_t magic = 0;
        while (reader.Next(packet, magic) == InputRecordReader::Result::Packet)
            seen.push_back(packet.y);
    }
    EXPECT_EQ(reader.Pending(), 0u);
    return seen;
}

struct SplitCase {
    const char* name;
    std::vector<size_t> pieces;
};

class InputRecordReaderSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(InputRecordReaderSplitTest, YieldsEveryRecordWholeAndInOrder) {
    const int count = 100; // more than the reader's capacity in records
    std::vector<int32_t> expected;
    for (int i = 0; i < count; ++i)
        expected.push_back(i);
    EXPECT_EQ(ReadInPieces(Stream(count), GetParam().pieces), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, InputRecordReaderSplitTest,
                         ::testing::Values(SplitCase{"ByteByByte", {1}}, SplitCase{"WholeRecords", {24}},
                                           SplitCase{"AcrossRecordEdges", {5, 23, 1, 40, 7}},
                                           SplitCase{"LargerThanTheBuffer", {4000}}),
                         [](const ::testing::TestParamInfo<SplitCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(InputRecordReader, APartialRecordWaitsForItsRest) {
    InputRecordReader reader;
    Bytes r = Record(MakeHelloPacket(9));
    reader.Append(r.data(), 23);
    InputPacket packet;
    uint32_t magic = 0;
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::NeedMore);
    EXPECT_EQ(reader.Pending(), 23u);
    reader.Append(r.data() + 23, 1);
    ASSERT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(packet, MakeHelloPacket(9));
}

TEST(InputRecordReader, ReceivesDirectlyIntoItsSpace) {
    InputRecordReader reader;
    Bytes stream = Stream(3);
    uint8_t* space = reader.Space();
    ASSERT_GE(reader.SpaceSize(), stream.size());
    std::copy(stream.begin(), stream.end() - 10, space);
    reader.Commit(stream.size() - 10);
    InputPacket packet;
    uint32_t magic = 0;
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::NeedMore);
    space = reader.Space();
    EXPECT_EQ(reader.Pending(), 14u) << "the partial record moved to the front";
    std::copy(stream.end() - 10, stream.end(), space);
    reader.Commit(10);
    ASSERT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(packet.y, 2);
}

TEST(InputRecordReader, ABadMagicFailsTheStreamForGood) {
    InputRecordReader reader;
    Bytes stream = Stream(3);
    stream[24] = 'X'; // the second record
    reader.Append(stream.data(), stream.size());
    InputPacket packet;
    uint32_t magic = 0;
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::BadMagic);
    EXPECT_EQ(magic, 0x594C5358u);
    EXPECT_TRUE(reader.Failed());
    magic = 0;
    EXPECT_EQ(reader.Next(packet, magic), InputRecordReader::Result::BadMagic)
        << "the third record is not read past a broken one";
    EXPECT_EQ(magic, 0x594C5358u);
}

TEST(InputRecordReader, AFullBufferTakesNoMoreUntilRecordsAreTaken) {
    InputRecordReader reader;
    Bytes stream = Stream(70);
    size_t taken = reader.Append(stream.data(), stream.size());
    EXPECT_EQ(taken, InputRecordReader::kCapacity);
    EXPECT_EQ(reader.SpaceSize(), 0u);
    InputPacket packet;
    uint32_t magic = 0;
    ASSERT_EQ(reader.Next(packet, magic), InputRecordReader::Result::Packet);
    EXPECT_EQ(reader.Append(stream.data() + taken, stream.size() - taken), kInputPacketSize);
}

} // namespace
