#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The clipboard channel's wire format. One TCP connection between the two PCs carries messages, each a
// 40-byte little-endian header followed by payloadBytes bytes of payload:
//   0 "SLCB" | 4 u32 type | 8 u64 id | 16 u64 a | 24 u64 b | 32 u32 payloadBytes | 36 u32 c
// The payload has no terminator of its own. What id, a, b and c mean depends on the type (below).

inline constexpr size_t kClipboardHeaderSize = 40;
inline constexpr uint8_t kClipboardMagic[4] = {'S', 'L', 'C', 'B'};
// Largest payload either side writes or reads; a header announcing more ends the connection.
inline constexpr uint32_t kClipboardMaxPayload = 16u * 1024 * 1024;
// Largest begin or offer payload (an HttpBeginPayload text); a larger one is dropped, not published.
inline constexpr uint32_t kClipboardMaxBeginPayload = 64u * 1024;
inline constexpr uint32_t kClipboardSocketTimeoutMs = 10000;
inline constexpr uint32_t kClipboardConnectTimeoutMs = 1500;

// The clear form of CB_FILE_OFFER (id, a, b, c 0) and the payload of CB_CLEAR_CLIPBOARD; no terminator.
inline constexpr std::string_view kClipboardOfferClearToken = "TSLY_CLIPFILE_CLEAR_V1";
inline constexpr std::string_view kClipboardClearRequestReason = "peer-local-clipboard-is-file-list";

enum class ClipboardMessageType : uint32_t {
    CB_HELLO = 1,           // both sides, first after the connection is published; all fields 0
    CB_TEXT = 2,            // id = message counter, a = bytes; UTF-16LE text with its NUL
    CB_IMAGE = 3,           // id = message counter, a = bytes, c = ClipboardImageFormat
    CB_FILE_BEGIN = 4,      // no writer; logged and ignored
    CB_FILE_DATA = 5,       // no writer; logged and ignored
    CB_FILE_END = 6,        // no writer; logged and ignored
    CB_FILE_LIST = 7,       // no writer; logged and ignored
    CB_TRANSFER_STATUS = 8, // id = transfer id, c = TransferStatusFlags; progress: a total, b done
    CB_TRANSFER_BEGIN = 9,  // no writer; logged and ignored
    CB_CANCEL = 10,         // id = transfer id
    CB_FILE_OFFER = 11,     // id = transfer id; HttpBeginPayload, or the clear token with id 0
    CB_FILE_REQUEST = 12,   // no writer; logged and ignored
    CB_HTTP_BEGIN = 13,     // id = transfer id; HttpBeginPayload
    CB_DRAG_PAYLOAD = 14,   // the remote drag's offer text
    CB_CLEAR_CLIPBOARD = 15 // all fields 0; kClipboardClearRequestReason
};

enum class ClipboardImageFormat : uint32_t { Dib = 0, DibV5 = 1, Png = 2 };

enum class TransferStatusFlags : uint32_t { Progress = 1, Done = 2, Error = 3, Cancel = 4 };

// "CB_HELLO" ... "CB_CLEAR_CLIPBOARD"; "" for a value outside 1..15.
const char* ClipboardMessageTypeName(uint32_t type);
bool IsKnownClipboardMessageType(uint32_t type);

struct ClipboardMessageHeader {
    uint32_t type = 0;
    uint64_t id = 0;
    uint64_t a = 0;
    uint64_t b = 0;
    uint32_t payloadBytes = 0;
    uint32_t c = 0;
};

// Writes the 40 header bytes, magic included.
void EncodeClipboardHeader(const ClipboardMessageHeader& header, uint8_t* out);

enum class ClipboardHeaderCheck { Ok, BadMagic, PayloadTooLarge };
// Reads 40 header bytes. magic receives the first four bytes as a little-endian number (for the log). The
// fields are filled also when the check fails.
ClipboardHeaderCheck DecodeClipboardHeader(const uint8_t* in, ClipboardMessageHeader& header,
                                           uint32_t& magic);

struct ClipboardMessage {
    ClipboardMessageHeader header;
    std::vector<uint8_t> payload;
};
