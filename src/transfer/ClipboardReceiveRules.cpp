#include "transfer/ClipboardReceiveRules.h"

#include "core/CommandBusPayload.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/FileTransferCommands.h"

namespace {

constexpr int32_t kRoleController = 1;

uint32_t ToU32(uint64_t value) {
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

TransferStatusDecision ProgressDecision(std::string_view payload) {
    TransferStatusDecision decision;
    decision.action = TransferStatusAction::Progress;
    decision.text = ReadPayloadText(payload, "currentPath");
    // A payload of only a name (no key at all) names the item itself.
    if (decision.text.empty() && payload.find('=') == std::string_view::npos)
        decision.text = std::string(payload);
    if (decision.text.empty())
        decision.text = "HTTP file transfer";
    decision.currentDoneBytes = ReadPayloadNumber(payload, "currentDoneBytes");
    decision.currentTotalBytes = ReadPayloadNumber(payload, "currentTotalBytes");
    decision.currentIndex = ToU32(ReadPayloadNumber(payload, "currentIndex"));
    decision.itemCount = ToU32(ReadPayloadNumber(payload, "itemCount"));
    return decision;
}

} // namespace

ClipboardKind ReceivedTextKind(int32_t role) {
    return role == kRoleController ? ClipboardKind::RemoteText : ClipboardKind::LocalText;
}

ClipboardKind ReceivedImageKind(int32_t role) {
    return role == kRoleController ? ClipboardKind::RemoteImage : ClipboardKind::LocalImage;
}

size_t ReceivedTextBlockBytes(size_t payloadBytes) {
    return payloadBytes + (payloadBytes % 2) + sizeof(char16_t);
}

RemoteOfferAction DecideRemoteOffer(uint64_t id, std::string_view payload) {
    if (payload.size() > kClipboardMaxBeginPayload)
        return RemoteOfferAction::DropOversized;
    if (payload == kClipboardOfferClearToken)
        return RemoteOfferAction::ClearByToken;
    if (!payload.empty() && id != 0)
        return RemoteOfferAction::Cache;
    return RemoteOfferAction::ClearInvalid;
}

HttpBeginAction DecideHttpBegin(std::string_view payload) {
    if (payload.empty())
        return HttpBeginAction::IgnoreEmpty;
    if (payload.size() > kClipboardMaxBeginPayload)
        return HttpBeginAction::DropOversized;
    return HttpBeginAction::Publish;
}

TransferStatusDecision DecideTransferStatus(uint32_t flags, std::string_view payload, bool englishUi) {
    switch (static_cast<TransferStatusFlags>(flags)) {
    case TransferStatusFlags::Progress:
        return ProgressDecision(payload);
    case TransferStatusFlags::Error: {
        TransferStatusDecision decision;
        decision.action = TransferStatusAction::Fail;
        decision.text = UnescapeCommandValue(payload);
        if (decision.text.empty())
            decision.text = "HTTP file transfer failed";
        return decision;
    }
    case TransferStatusFlags::Cancel: {
        TransferStatusDecision decision;
        decision.action = TransferStatusAction::Cancel;
        decision.text = UnescapeCommandValue(payload);
        if (decision.text.empty())
            decision.text = kTransferPeerCanceledText;
        return decision;
    }
    default:
        break;
    }
    TransferStatusDecision decision;
    decision.action = TransferStatusAction::Complete;
    const std::string folder = ReadPayloadText(payload, "downloadDir");
    if (!folder.empty())
        decision.text = (englishUi ? "Remote downloaded to: " : "远端已下载到：") + folder;
    else
        decision.text = UnescapeCommandValue(payload);
    if (decision.text.empty())
        decision.text = "文件传输完成。";
    return decision;
}

bool ShouldFailTransferOnLoss(bool connectionStillPublished, FileTransferPhase phase) {
    return connectionStillPublished &&
           (phase == FileTransferPhase::Sending || phase == FileTransferPhase::Receiving);
}

bool ShouldCancelAfterMessage(uint32_t type, uint64_t id, bool cancelRequestedForId) {
    return type != static_cast<uint32_t>(ClipboardMessageType::CB_CANCEL) && id != 0 && cancelRequestedForId;
}
