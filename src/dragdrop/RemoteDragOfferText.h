#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The remote drag's offer: what the controlled PC sends the controller as the whole payload of clipboard
// message CB_DRAG_PAYLOAD (14) once a drag out of its Explorer is confirmed. Eight fields, ASCII decimal
// numbers, each followed by "\n" except the last:
//   id | count | bytes | folder (0 or 1) | detail length | detail | httpPayload length | httpPayload
// The two texts carry their length in front, so they may hold newlines. A text of only the first four
// fields is an offer without detail and payload.
namespace RemoteDragOfferText {

struct Fields {
    uint64_t id = 0;         // the sender's offer counter, from 1
    uint32_t count = 0;      // paths offered
    uint64_t bytes = 0;      // their total size, folders counted recursively
    bool folder = false;     // at least one path is a folder
    std::string detail;      // UTF-8: the first path, then " +N" for N more
    std::string httpPayload; // the HttpBeginPayload of the prepared transfer
};

std::string Build(const Fields& fields);

// False for a text from the peer that is not a valid offer: fewer than four fields; a number with a sign,
// a non-digit or past its field's width; a folder field other than 0 or 1; a detail or payload length past
// the text; a count of 0. fields is written only on success.
bool Parse(std::string_view text, Fields& fields);

} // namespace RemoteDragOfferText
