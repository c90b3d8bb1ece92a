#include "transfer/ClipboardStatusRelay.h"

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/FileTransferCommands.h"

namespace {

void AppendNumberLine(std::string& out, const char* key, uint64_t value) {
    out += key;
    out += '=';
    out += std::to_string(value);
    out += '\n';
}

std::string ProgressPayload(std::string_view command) {
    std::string out = "currentPath=" + EscapeCommandValue(ReadPayloadText(command, "currentPath")) + "\n";
    AppendNumberLine(out, "currentDoneBytes", ReadPayloadNumber(command, "currentDoneBytes"));
    AppendNumberLine(out, "currentTotalBytes", ReadPayloadNumber(command, "currentTotalBytes"));
    AppendNumberLine(out, "currentIndex", ReadPayloadNumber(command, "currentIndex"));
    AppendNumberLine(out, "itemCount", ReadPayloadNumber(command, "itemCount"));
    return out;
}

} // namespace

std::optional<TransferStatusMessage> BuildTransferStatusRelay(uint32_t commandType,
                                                              std::string_view commandPayload) {
    TransferStatusMessage message;
    message.transferId = ReadPayloadNumber(commandPayload, "transferId");
    if (message.transferId == 0)
        return std::nullopt;
    switch (commandType) {
    case kCommandFileProgress:
        message.flags = static_cast<uint32_t>(TransferStatusFlags::Progress);
        message.a = ReadPayloadNumber(commandPayload, "totalBytes");
        message.b = ReadPayloadNumber(commandPayload, "doneBytes");
        message.payload = ProgressPayload(commandPayload);
        return message;
    case kCommandFileDone:
        message.flags = static_cast<uint32_t>(TransferStatusFlags::Done);
        message.payload = EscapeCommandValue(ReadPayloadText(commandPayload, "message"));
        return message;
    case kCommandFileError:
        message.flags = static_cast<uint32_t>(TransferStatusFlags::Error);
        message.payload = EscapeCommandValue(ReadPayloadText(commandPayload, "message"));
        return message;
    case kCommandFileCancel:
        message.flags = static_cast<uint32_t>(TransferStatusFlags::Cancel);
        message.payload = EscapeCommandValue(ReadPayloadText(commandPayload, "reason"));
        return message;
    default:
        return std::nullopt;
    }
}
