#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "transfer/ClipboardKind.h"
#include "transfer/FileTransferUi.h"

// What the clipboard channel does with a received message, decided from the message and a few facts; the
// channel thread carries the decision out (clipboard writes, the cached offer, the bus, the progress model).

// Received text or image: REMOTE on the controller (role 1), LOCAL on any other PC.
ClipboardKind ReceivedTextKind(int32_t role);
ClipboardKind ReceivedImageKind(int32_t role);

// Bytes to allocate for a received CB_TEXT: the payload plus one UTF-16 NUL, and one byte more when the
// payload has an odd length, so the text is always terminated on a whole character whatever the peer sent.
size_t ReceivedTextBlockBytes(size_t payloadBytes);

// CB_FILE_OFFER.
enum class RemoteOfferAction {
    ClearByToken, // exactly kClipboardOfferClearToken: the peer's Ctrl+C replaced its offer
    Cache,        // a non-empty offer with a transfer id
    ClearInvalid, // empty payload or id 0
    DropOversized // more than kClipboardMaxBeginPayload bytes: neither cached nor clearing
};
RemoteOfferAction DecideRemoteOffer(uint64_t id, std::string_view payload);

// CB_HTTP_BEGIN.
enum class HttpBeginAction { IgnoreEmpty, DropOversized, Publish };
HttpBeginAction DecideHttpBegin(std::string_view payload);

// CB_TRANSFER_STATUS, by its flags (header c): 1 progress, 3 error, 4 cancel, anything else done.
enum class TransferStatusAction { Progress, Complete, Fail, Cancel };
struct TransferStatusDecision {
    TransferStatusAction action = TransferStatusAction::Complete;
    std::string text; // UTF-8: the item name (progress) or the text shown at the end
    uint64_t currentDoneBytes = 0;
    uint64_t currentTotalBytes = 0;
    uint32_t currentIndex = 0;
    uint32_t itemCount = 0;
};
TransferStatusDecision DecideTransferStatus(uint32_t flags, std::string_view payload, bool englishUi);

inline constexpr const char* kTransferPeerLostText = "对端断线，传输中断";
inline constexpr const char* kTransferUserCanceledText = "用户取消传输";
inline constexpr const char* kTransferPeerCanceledText = "远端取消传输";

// After the receive loop ended: a connection that broke (the run still current and the socket still the
// published one, so not a Stop or a cancel) fails a transfer that is moving.
bool ShouldFailTransferOnLoss(bool connectionStillPublished, FileTransferPhase phase);

// After a received message other than CB_CANCEL whose id is a transfer the user asked to cancel (and which
// still moves): the receive loop sends CB_CANCEL and drops the connection.
bool ShouldCancelAfterMessage(uint32_t type, uint64_t id, bool cancelRequestedForId);
