#pragma once

#include <cstddef>
#include <cstdint>

// The video stream from the controlled PC to the controller: one TCP connection carrying frames back to
// back, each a 60-byte little-endian VideoFrameHeader followed directly by the encoded frame (an Annex-B
// H.264 access unit or an MF44 tile container). The receiver trusts no header: any inconsistency drops the
// connection and its buffer; only an unknown codec word skips the one frame.

inline constexpr uint16_t kVideoPort = 6000;

// Header layout: offset: field. 0 magic "YTSL"; 4 u16 version; 6 u16 header size; 8 u32 frame id;
// 12 u16 reserved; 14 u16 frame count; 16 u32 frame bytes; 20 u32 payload bytes (= frame bytes); 24 u32
// codec; 28/32 u32 video width/height; 36/40 u32 desktop width/height; 44 u32 colour mode; 48 u32
// transfer; 52 u32 bit depth; 56 u32 HDR flags.
inline constexpr size_t kVideoFrameHeaderBytes = 60;
inline constexpr uint8_t kVideoFrameMagic[4] = {'Y', 'T', 'S', 'L'};
inline constexpr uint16_t kVideoFrameVersion = 3;
inline constexpr uint32_t kVideoMaxFrameBytes = 0x10000000;
// The largest frame plus its header plus 1,024: more buffered than this cannot be a valid stream.
inline constexpr size_t kVideoReceiveBufferCap = 0x1000043C;

// Socket settings and piece sizes: large buffers and TCP_NODELAY keep the stream moving; sends are cut
// into 256 KiB pieces so that one send call stays within its stall budget.
inline constexpr int kVideoSocketBufferBytes = 0x400000;
inline constexpr size_t kVideoSendPieceBytes = 0x40000;
inline constexpr size_t kVideoReceivePieceBytes = 65536;
inline constexpr uint32_t kVideoAcceptPollMs = 5;

// The receiver reads from its socket only while it holds less than this, or while the frame at the front is
// not yet whole: beyond that the bytes wait in the socket and TCP slows the sender, so a stream that arrives
// faster than frames are taken never drives the buffer to its cap. Twice the trim threshold, so the backlog
// trim still sees a backlog to drop.
inline constexpr size_t kVideoReceiveHighWaterBytes = 0x400000;

// The receiver drops a stale backlog up to the last IDR frame once this much is buffered and at least
// kVideoTrimMinFrames whole frames are queued. Tile frames need no byte threshold: with that many whole
// frames queued it resumes at the newest tile frame.
inline constexpr size_t kVideoTrimThresholdBytes = 0x200000;
inline constexpr size_t kVideoTrimMinFrames = 4;

enum class VideoCodecFlag : uint32_t {
    H264 = 0,
    Tiles = 1,
};

struct VideoFrameHeader {
    uint8_t magic[4] = {kVideoFrameMagic[0], kVideoFrameMagic[1], kVideoFrameMagic[2], kVideoFrameMagic[3]};
    uint16_t version = kVideoFrameVersion;
    uint16_t headerSize = kVideoFrameHeaderBytes;
    uint32_t frameId = 0;
    uint16_t reserved = 0;
    uint16_t frameCount = 1;
    uint32_t frameBytes = 0;
    uint32_t payloadBytes = 0;
    uint32_t codec = 0;
    uint32_t videoWidth = 0;
    uint32_t videoHeight = 0;
    uint32_t desktopWidth = 0;
    uint32_t desktopHeight = 0;
    uint32_t colorMode = 0;
    uint32_t transfer = 0;
    uint32_t bitDepth = 8;
    uint32_t hdrFlags = 0;

    uint32_t Magic() const;
};

// The header a sender writes for one frame: SDR BT.709, 8 bits, HDR flags 0x100 (0x102 with the HDR
// switch on).
VideoFrameHeader MakeVideoFrameHeader(uint32_t frameId, uint32_t frameBytes, uint32_t videoWidth,
                                      uint32_t videoHeight, uint32_t desktopWidth, uint32_t desktopHeight,
                                      VideoCodecFlag codec, bool hdrSwitchOn);

void PackVideoFrameHeader(const VideoFrameHeader& header, uint8_t* out);
// Reads the fields as they stand; CheckVideoFrameHeader says whether they may be used.
VideoFrameHeader ParseVideoFrameHeader(const uint8_t* bytes);

enum class VideoHeaderCheck {
    Ok,
    BadFormat, // magic, version or header size
    BadFrame,  // frame bytes outside 1..0x10000000, payload bytes unequal, frame count not 1
    BadSize,   // a video or desktop side above kMaxVideoDimension
};
VideoHeaderCheck CheckVideoFrameHeader(const VideoFrameHeader& header);

// Log name of a codec word: 1 "ULTRA", every other value "H264".
const char* VideoCodecName(uint32_t codec);

// Walks the whole frames at the start of the buffer (stopping at the first invalid header or incomplete
// frame) and returns the offset of the last one that holds an H.264 IDR slice, 0 when none or only the
// first does; completeFrames gets the number of whole frames walked. Only codec-0 frames are searched.
size_t FindLastIdrFrameOffset(const uint8_t* data, size_t size, size_t& completeFrames);

// The last whole tile-container frame at the start of the buffer. Every tile container is a whole picture,
// so a stream can resume at any of them. offset and framesBefore are 0 when there is none.
struct TileResumePoint {
    size_t offset = 0;
    size_t framesBefore = 0;   // whole frames in front of it
    size_t completeFrames = 0; // whole frames walked
};
TileResumePoint FindLastTileFrame(const uint8_t* data, size_t size);
