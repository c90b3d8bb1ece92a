// The clipboard connection's bytes as a peer may send them:
// - the framer, fed the input in pieces whose sizes the input chooses, yields the same messages as when it
//   is fed all at once; every message is within the payload limit and matches its header; after a refusal
//   it takes nothing more;
// - every message's decisions: offers and begins above 64 KiB are never cached or published, a transfer
//   status always leaves a text to show;
// - the relay of any command payload gives a status message whose texts reach the peer unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardMessageFramer.h"
#include "transfer/ClipboardReceiveRules.h"
#include "transfer/ClipboardStatusRelay.h"
#include "transfer/FileTransferCommands.h"

#include "FuzzChecks.h"

namespace {

struct Framed {
    std::vector<ClipboardMessage> messages;
    bool refused = false;
};

// Feeds data in pieces of the given sizes (cycled; 0 means the rest).
Framed FrameInPieces(const uint8_t* data, size_t size, const std::vector<size_t>& pieces) {
    Framed out;
    ClipboardMessageFramer framer;
    size_t at = 0;
    size_t turn = 0;
    while (at < size) {
        size_t piece = pieces.empty() ? 0 : pieces[turn++ % pieces.size()];
        if (piece == 0 || piece > size - at)
            piece = size - at;
        size_t fed = 0;
        while (fed < piece) {
            size_t used = 0;
            const auto status = framer.Feed(data + at + fed, piece - fed, used);
            fed += used;
            if (status == ClipboardMessageFramer::Status::BadHeader) {
                FuzzCheck(framer.SpaceSize() == 0, "refused framer offers room");
                out.refused = true;
                return out;
            }
            if (status == ClipboardMessageFramer::Status::Message) {
                ClipboardMessage m = framer.Take();
                FuzzCheck(m.payload.size() == m.header.payloadBytes, "payload size differs from its header");
                FuzzCheck(m.payload.size() <= kClipboardMaxPayload, "payload above the limit");
                out.messages.push_back(std::move(m));
            } else {
                FuzzCheck(fed == piece, "framer stopped early without a message");
            }
        }
        at += piece;
    }
    return out;
}

void CheckDecisions(const ClipboardMessage& m) {
    const std::string_view payload(reinterpret_cast<const char*>(m.payload.data()), m.payload.size());
    const RemoteOfferAction offer = DecideRemoteOffer(m.header.id, payload);
    if (payload.size() > kClipboardMaxBeginPayload) {
        FuzzCheck(offer == RemoteOfferAction::DropOversized, "oversized offer kept");
        FuzzCheck(DecideHttpBegin(payload) == HttpBeginAction::DropOversized, "oversized begin published");
    }
    if (offer == RemoteOfferAction::Cache)
        FuzzCheck(m.header.id != 0 && !payload.empty(), "offer cached without id or payload");
    const TransferStatusDecision status = DecideTransferStatus(m.header.c, payload, (m.header.a & 1) != 0);
    FuzzCheck(!status.text.empty(), "transfer status without a text");
}

void CheckRelay(std::string_view input) {
    // The input is a value in each relayed report; the peer must read it back unchanged.
    const std::string escaped = EscapeCommandValue(input);
    const auto done = BuildTransferStatusRelay(kCommandFileError, "transferId=9\nmessage=" + escaped + "\n");
    FuzzCheck(done.has_value(), "error report not relayed");
    FuzzCheck(done->payload.find('\n') == std::string::npos, "relayed message spans lines");
    const TransferStatusDecision failed = DecideTransferStatus(done->flags, done->payload, true);
    FuzzCheck(input.empty() || failed.text == input, "error text changed on the way");
    const auto progress =
        BuildTransferStatusRelay(kCommandFileProgress, "transferId=9\ncurrentPath=" + escaped + "\n");
    FuzzCheck(progress.has_value(), "progress not relayed");
    const TransferStatusDecision moving = DecideTransferStatus(progress->flags, progress->payload, true);
    FuzzCheck(input.empty() || moving.text == input, "path changed on the way");
    // Any bytes as a command payload: a relay exists only with a transfer id.
    for (uint32_t type : {kCommandFileProgress, kCommandFileDone, kCommandFileError, kCommandFileCancel}) {
        const auto relay = BuildTransferStatusRelay(type, input);
        if (relay)
            FuzzCheck(relay->transferId != 0, "relay without a transfer id");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Framed whole = FrameInPieces(data, size, {});
    std::vector<size_t> pieces;
    for (size_t i = 0; i < size && i < 8; ++i)
        pieces.push_back(data[i] % 41);
    const Framed split = FrameInPieces(data, size, pieces);
    FuzzCheck(whole.refused == split.refused, "refusal depends on the split");
    FuzzCheck(whole.messages.size() == split.messages.size(), "message count depends on the split");
    for (size_t i = 0; i < whole.messages.size(); ++i) {
        FuzzCheck(whole.messages[i].payload == split.messages[i].payload, "payload depends on the split");
        FuzzCheck(whole.messages[i].header.id == split.messages[i].header.id, "header depends on the split");
        CheckDecisions(whole.messages[i]);
    }
    CheckRelay(std::string_view(reinterpret_cast<const char*>(data), size < 512 ? size : 512));
    return 0;
}
