#include "input/InputRecordReader.h"

#include <algorithm>
#include <cstring>

uint8_t* InputRecordReader::Space() {
    // Moves the partial record to the front, so the whole capacity behind it is free.
    if (m_begin > 0) {
        std::memmove(m_buffer, m_buffer + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    return m_buffer + m_end;
}

void InputRecordReader::Commit(size_t count) {
    m_end += std::min(count, SpaceSize());
}

size_t InputRecordReader::Append(const uint8_t* data, size_t size) {
    uint8_t* space = Space();
    size_t taken = std::min(size, SpaceSize());
    if (taken > 0)
        std::memcpy(space, data, taken);
    m_end += taken;
    return taken;
}

InputRecordReader::Result InputRecordReader::Next(InputPacket& packet, uint32_t& magic) {
    if (m_failed) {
        magic = m_badMagic;
        return Result::BadMagic;
    }
    if (Pending() < kInputPacketSize)
        return Result::NeedMore;
    const uint8_t* record = m_buffer + m_begin;
    if (!DecodeInputPacket(record, packet)) {
        m_failed = true;
        m_badMagic = InputPacketMagicOf(record);
        magic = m_badMagic;
        return Result::BadMagic;
    }
    m_begin += kInputPacketSize;
    if (m_begin == m_end)
        m_begin = m_end = 0;
    return Result::Packet;
}
