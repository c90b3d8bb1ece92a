#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Cuts the received video byte stream into frames (VideoFrameHeader.h): it holds the bytes not yet
// consumed, bounds them, drops a stale backlog up to the last IDR or tile frame and checks every header
// before a frame is handed out. It owns no socket: the receiver appends what recv gave and resets the
// connection when told to. Used by one thread.

// The numbers of a frame handed out.
struct VideoFrameInfo {
    uint32_t frameId = 0;
    uint32_t videoWidth = 0;
    uint32_t videoHeight = 0;
    uint32_t desktopWidth = 0;
    uint32_t desktopHeight = 0;
    uint32_t codec = 0;
};

class VideoFrameAssembler {
public:
    // How many bytes the receiver may read from its socket now: up to one 64 KiB piece while less than
    // kVideoReceiveHighWaterBytes is buffered; beyond that only what the frame at the front still lacks; 0
    // when that frame is whole or its header is invalid. So a valid stream never reaches the cap.
    size_t ReadAllowance() const;

    // Room for size more bytes at the end of the buffer, for recv to write into; CommitAppend keeps the
    // first `written` of them. Commit returns false, logged, and keeps nothing when the buffer would then
    // hold more than kVideoReceiveBufferCap: the caller resets the connection.
    uint8_t* PrepareAppend(size_t size);
    bool CommitAppend(size_t written);

    // PrepareAppend, copy and CommitAppend in one.
    bool Append(const uint8_t* data, size_t size);

    // With at least 4 whole frames buffered, drops every byte before the newest whole tile frame when one
    // other than the first is there; else, with at least 2 MiB buffered and an IDR frame other than the
    // first, every byte before that IDR frame. Both are logged.
    void TrimBacklog();

    enum class Take {
        NeedMore, // no whole frame buffered yet; the bytes are kept
        Frame,    // payload and info hold the next frame
        Skipped,  // a frame with an unknown codec word was consumed and dropped (logged)
        Reset,    // the header is invalid (logged): the caller drops the connection
    };
    // Takes the next frame off the front of the buffer. The payload is emptied unless a frame is handed
    // out; info is filled for Frame, and holds the frame id of a skipped frame.
    Take TakeFrame(std::vector<uint8_t>& payload, VideoFrameInfo& info);

    // Drops every buffered byte and the storage (a reset connection).
    void Clear();
    size_t Buffered() const { return m_end - m_begin; }
    const uint8_t* Data() const { return m_storage.get() + m_begin; }

private:
    bool TrimTileBacklog();
    void Consume(size_t count);

    // Unconsumed bytes are m_storage[m_begin, m_end). Taking a frame only moves m_begin; the rest moves to
    // the front only when the tail lacks room and fewer bytes remain than were consumed before them, so
    // each byte is moved at most about once. recv writes straight into the tail.
    std::unique_ptr<uint8_t[]> m_storage;
    size_t m_capacity = 0;
    size_t m_begin = 0;
    size_t m_end = 0;
    size_t m_prepared = 0;
};
