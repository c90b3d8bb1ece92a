#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Cuts the received video byte stream into frames (VideoFrameHeader.h): it holds the bytes not yet
// consumed, bounds them, drops a stale backlog up to the last IDR frame and checks every header before a
// frame is handed out. It owns no socket: the receiver appends what recv gave and resets the connection
// when told to. Used by one thread.

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
    // Appends received bytes. False, logged, and nothing appended when the buffer would then hold more
    // than kVideoReceiveBufferCap: the caller resets the connection.
    bool Append(const uint8_t* data, size_t size);

    // With at least 2 MiB buffered, at least 4 whole frames and an IDR frame other than the first, drops
    // every byte before that IDR frame (logged).
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
    size_t Buffered() const { return m_bytes.size() - m_head; }
    const uint8_t* Data() const { return m_bytes.data() + m_head; }

private:
    void Consume(size_t count);

    // Unconsumed bytes are m_bytes[m_head, end): consuming moves m_head, and the front is cut off only
    // when it is at least half of the buffer, so handing out a frame does not move the whole backlog.
    std::vector<uint8_t> m_bytes;
    size_t m_head = 0;
};
