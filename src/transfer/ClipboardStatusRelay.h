#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The reports of a transfer that this PC downloads ("file.progress", "file.done", "file.error" and
// "file.cancel" on the command bus) go back to the PC that serves the files as CB_TRANSFER_STATUS messages.
// Every text value is read with the payload line lookup and its escapes undone, then escaped again, so a
// value that holds a line end or a backslash reaches the peer as one value and cannot pose as a key.

struct TransferStatusMessage {
    uint64_t transferId = 0; // header id
    uint32_t flags = 0;      // header c: TransferStatusFlags
    uint64_t a = 0;          // progress: total bytes
    uint64_t b = 0;          // progress: done bytes
    std::string payload;
};

// The message that relays a command of type commandType (403 progress, 402 done, 404 error, 401 cancel)
// with this payload. None for another type or a payload without a non-zero "transferId".
//   progress: five lines "currentPath=", "currentDoneBytes=", "currentTotalBytes=", "currentIndex=",
//             "itemCount=", each ended by "\n" (a missing number is "0");
//   done, error: the escaped "message" value; cancel: the escaped "reason" value.
std::optional<TransferStatusMessage> BuildTransferStatusRelay(uint32_t commandType,
                                                              std::string_view commandPayload);
