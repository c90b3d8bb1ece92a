#include "transfer/ClipboardMessageFramer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The payload buffer starts this large and doubles as bytes arrive, up to the size the header announced:
// memory follows what the peer actually sent, not what its header claims.
constexpr size_t kFirstPayloadChunk = 64 * 1024;

} // namespace

uint8_t* ClipboardMessageFramer::Space() {
    if (m_state == State::Header)
        return m_headerBytes + m_have;
    if (m_state == State::Payload)
        return m_message.payload.data() + m_have;
    return nullptr;
}

size_t ClipboardMessageFramer::SpaceSize() const {
    if (m_state == State::Header)
        return kClipboardHeaderSize - m_have;
    if (m_state == State::Payload)
        return m_message.payload.size() - m_have;
    return 0;
}

ClipboardMessageFramer::Status ClipboardMessageFramer::Commit(size_t count) {
    if (m_state == State::Failed)
        return Status::BadHeader;
    if (m_state == State::Whole)
        return Status::Message;
    m_have += std::min(count, SpaceSize());
    if (SpaceSize() > 0)
        return Status::NeedMore;
    if (m_state == State::Header)
        return AfterHeader();
    const size_t announced = m_message.header.payloadBytes;
    if (m_have < announced) {
        m_message.payload.resize(std::min(announced, m_message.payload.size() * 2));
        return Status::NeedMore;
    }
    m_state = State::Whole;
    return Status::Message;
}

ClipboardMessageFramer::Status ClipboardMessageFramer::AfterHeader() {
    m_refusal = DecodeClipboardHeader(m_headerBytes, m_message.header, m_magic);
    if (m_refusal != ClipboardHeaderCheck::Ok) {
        m_state = State::Failed;
        return Status::BadHeader;
    }
    m_have = 0;
    m_message.payload.assign(std::min<size_t>(m_message.header.payloadBytes, kFirstPayloadChunk), 0);
    m_state = m_message.payload.empty() ? State::Whole : State::Payload;
    return m_state == State::Whole ? Status::Message : Status::NeedMore;
}

ClipboardMessageFramer::Status ClipboardMessageFramer::Feed(const uint8_t* data, size_t size, size_t& used) {
    used = 0;
    for (;;) {
        if (m_state == State::Failed)
            return Status::BadHeader;
        if (m_state == State::Whole)
            return Status::Message;
        const size_t take = std::min(size - used, SpaceSize());
        if (take > 0)
            std::memcpy(Space(), data + used, take);
        used += take;
        const Status status = Commit(take);
        if (status != Status::NeedMore || used == size)
            return status;
    }
}

ClipboardMessage ClipboardMessageFramer::Take() {
    if (m_state != State::Whole)
        return ClipboardMessage();
    ClipboardMessage message = std::move(m_message);
    m_message = ClipboardMessage();
    m_state = State::Header;
    m_have = 0;
    return message;
}
