#pragma once

#include <cstddef>
#include <cstdint>

#include "transfer/ClipboardMessage.h"

// Cuts the bytes of a clipboard connection into messages. Bytes may arrive split at any point; Space never
// reaches past the message being read, so a receive into it never takes bytes of the next message. The
// payload is read into one buffer once the header has passed its checks (magic, at most
// kClipboardMaxPayload bytes); the buffer grows as the payload arrives. A refused header fails the framer
// for good: the stream is out of step or not ours, and the caller closes the connection.
class ClipboardMessageFramer {
public:
    enum class Status {
        NeedMore, // the message is not whole yet
        Message,  // a whole message waits in Take
        BadHeader // the header was refused; every later call says the same
    };

    // Where the next received bytes go and how many fit, never more than the current message still needs
    // (0 while a whole message waits or after a refusal).
    uint8_t* Space();
    size_t SpaceSize() const;
    // count bytes were written at Space(); at most SpaceSize().
    Status Commit(size_t count);
    // Copies from data as Space allows, message by message; stops at a whole message or a refusal. used
    // receives how many bytes were taken.
    Status Feed(const uint8_t* data, size_t size, size_t& used);

    // Moves the whole message out; the framer then reads the next one.
    ClipboardMessage Take();

    // Some bytes of a message have arrived and it is not whole yet.
    bool MidMessage() const { return m_state == State::Header ? m_have > 0 : m_state == State::Payload; }
    bool Failed() const { return m_state == State::Failed; }
    // After BadHeader: why, the first four bytes and the fields that were read.
    ClipboardHeaderCheck Refusal() const { return m_refusal; }
    uint32_t Magic() const { return m_magic; }
    const ClipboardMessageHeader& Header() const { return m_message.header; }

private:
    enum class State { Header, Payload, Whole, Failed };

    Status AfterHeader();

    State m_state = State::Header;
    uint8_t m_headerBytes[kClipboardHeaderSize] = {};
    size_t m_have = 0; // bytes of the header or the payload received so far
    ClipboardMessage m_message;
    ClipboardHeaderCheck m_refusal = ClipboardHeaderCheck::Ok;
    uint32_t m_magic = 0;
};
