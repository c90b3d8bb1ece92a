// The host's input record reader over arbitrary bytes, fed in pieces whose sizes come from the input:
// - every record handed out re-encodes to exactly the 24 bytes it came from (magic included);
// - a bad magic is reported with the record's first four bytes and sticks: nothing is read past it;
// - nothing is lost or invented: the records handed out are the leading whole records of the stream;
// - the buffer never holds more than its capacity, and the host's decisions accept only what they should.
#include <cstdint>
#include <cstring>
#include <vector>

#include "input/InputChannelRules.h"
#include "input/InputRecordReader.h"

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const size_t piece = 1 + data[0] % 97;
    const uint8_t* stream = data + 1;
    const size_t streamSize = size - 1;

    InputRecordReader reader;
    size_t fed = 0;
    size_t records = 0;
    bool failed = false;
    while (fed < streamSize && !failed) {
        const size_t want = std::min(piece, streamSize - fed);
        const size_t taken = reader.Append(stream + fed, want);
        fed += taken;
        FuzzCheck(reader.Pending() <= InputRecordReader::kCapacity, "buffer over capacity");
        for (;;) {
            InputPacket packet;
            uint32_t magic = 0;
            InputRecordReader::Result result = reader.Next(packet, magic);
            if (result == InputRecordReader::Result::NeedMore)
                break;
            const uint8_t* source = stream + records * kInputPacketSize;
            if (result == InputRecordReader::Result::BadMagic) {
                FuzzCheck(std::memcmp(source, kInputPacketMagic, 4) != 0, "bad magic on a good record");
                FuzzCheck(magic == InputPacketMagicOf(source), "bad magic value misreported");
                FuzzCheck(reader.Next(packet, magic) == InputRecordReader::Result::BadMagic,
                          "bad magic not sticky");
                FuzzCheck(DecideHostRecord(result, packet, 1, 1) == HostRecordAction::CloseBadMagic,
                          "bad magic not closed");
                FuzzCheck(!IsHostHandshakeHello(result, packet), "bad magic accepted as HELLO");
                failed = true;
                break;
            }
            uint8_t encoded[kInputPacketSize];
            EncodeInputPacket(packet, encoded);
            FuzzCheck(std::memcmp(encoded, source, kInputPacketSize) == 0, "record changed on the way");
            FuzzCheck(!IsHostHandshakeHello(result, packet) || IsAcceptableHello(packet),
                      "HELLO rule differs");
            ++records;
        }
        if (taken < want && !failed)
            FuzzCheck(reader.SpaceSize() == 0, "bytes refused while space was free");
    }
    if (!failed) {
        FuzzCheck(records == fed / kInputPacketSize, "whole records lost");
        FuzzCheck(reader.Pending() == fed % kInputPacketSize, "partial record lost");
    }
    return 0;
}
