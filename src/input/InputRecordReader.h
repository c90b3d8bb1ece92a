#pragma once

#include <cstddef>
#include <cstdint>

#include "input/InputPacket.h"

// Cuts the bytes of an input connection into 24-byte records. The bytes a read brings are kept until a
// record is whole, so a read that ends mid-record (a receive time-out, a segment boundary) loses nothing.
// A record without the "TSLY" magic means the stream is out of step or not ours: the reader fails for good
// and the caller closes the connection.
class InputRecordReader {
public:
    static constexpr size_t kCapacity = kInputPacketSize * 64;

    enum class Result {
        NeedMore, // no whole record yet
        Packet,   // a record was taken
        BadMagic, // the record at the head has no magic; every later call says the same
    };

    // Where received bytes go and how many fit; 0 only when whole records wait to be taken.
    uint8_t* Space();
    size_t SpaceSize() const { return kCapacity - m_end; }
    // count bytes were written at Space(); at most SpaceSize().
    void Commit(size_t count);
    // Copies as much of data as fits; the number of bytes taken.
    size_t Append(const uint8_t* data, size_t size);

    // Takes the next whole record. On BadMagic, magic holds the record's first four bytes.
    Result Next(InputPacket& packet, uint32_t& magic);

    // Bytes received and not yet taken as a record.
    size_t Pending() const { return m_end - m_begin; }
    bool Failed() const { return m_failed; }

private:
    uint8_t m_buffer[kCapacity] = {};
    size_t m_begin = 0;
    size_t m_end = 0;
    bool m_failed = false;
    uint32_t m_badMagic = 0;
};
