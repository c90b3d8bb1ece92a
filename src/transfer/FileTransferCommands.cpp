#include "transfer/FileTransferCommands.h"

#include <cstdint>
#include <limits>

#include "core/CommandBusPayload.h"

namespace {

void AppendNumberLine(std::string& out, std::string_view key, uint64_t value) {
    out.append(key);
    out += '=';
    out += std::to_string(value);
    out += '\n';
}

void AppendTextLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key);
    out += '=';
    out += EscapeCommandValue(value);
    out += '\n';
}

CommandMessage MakeCommand(uint32_t type, std::string_view payload, uint64_t correlationId) {
    CommandMessage message;
    message.type = type;
    message.correlationId = correlationId;
    message.name = CommandTypeName(type);
    message.SetPayloadText(payload);
    return message;
}

} // namespace

std::string FormatHttpBeginPayload(const HttpBeginPayload& begin) {
    std::string out = "mode=http_manifest\n";
    AppendNumberLine(out, "transferId", begin.transferId);
    AppendNumberLine(out, "direction", begin.direction);
    AppendNumberLine(out, "totalBytes", begin.totalBytes);
    AppendNumberLine(out, "itemCount", begin.itemCount);
    AppendNumberLine(out, "httpPort", begin.httpPort);
    AppendTextLine(out, "displayName", begin.displayName);
    AppendTextLine(out, "targetPath", begin.targetPath);
    AppendTextLine(out, "manifestUrl", begin.manifestUrl);
    // The last line has no line end: receivers that edit the payload append after it.
    out += begin.conflictRename ? "conflict=rename" : "conflict=overwrite";
    return out;
}

std::string FormatFileProgressPayload(const FileProgressReport& report) {
    std::string out;
    AppendNumberLine(out, "transferId", report.transferId);
    AppendNumberLine(out, "doneBytes", report.doneBytes);
    AppendNumberLine(out, "totalBytes", report.totalBytes);
    AppendNumberLine(out, "currentIndex", report.currentIndex);
    AppendNumberLine(out, "itemCount", report.itemCount);
    AppendNumberLine(out, "currentDoneBytes", report.currentDoneBytes);
    AppendNumberLine(out, "currentTotalBytes", report.currentTotalBytes);
    AppendTextLine(out, "currentPath", report.currentPath);
    return out;
}

std::string FormatFileResultPayload(const FileResultReport& report) {
    std::string out;
    AppendNumberLine(out, "transferId", report.transferId);
    // A negative code travels as its 32-bit pattern, so the unsigned reader gets it back with a cast.
    AppendNumberLine(out, "errorCode", static_cast<uint32_t>(report.errorCode));
    AppendTextLine(out, "message", report.message);
    return out;
}

std::string FormatFileCancelPayload(uint64_t transferId, std::string_view reason) {
    std::string out;
    AppendNumberLine(out, "transferId", transferId);
    AppendTextLine(out, "reason", reason);
    return out;
}

CommandMessage MakeHttpBeginCommand(const HttpBeginPayload& begin) {
    return MakeCommand(kCommandFileHttpBegin, FormatHttpBeginPayload(begin), 0);
}

CommandMessage MakeFileProgressCommand(const FileProgressReport& report, uint64_t correlationId) {
    return MakeCommand(kCommandFileProgress, FormatFileProgressPayload(report), correlationId);
}

CommandMessage MakeFileDoneCommand(const FileResultReport& report, uint64_t correlationId) {
    return MakeCommand(kCommandFileDone, FormatFileResultPayload(report), correlationId);
}

CommandMessage MakeFileCancelCommand(uint64_t transferId, std::string_view reason, uint64_t correlationId) {
    return MakeCommand(kCommandFileCancel, FormatFileCancelPayload(transferId, reason), correlationId);
}

CommandMessage MakeFileErrorCommand(const FileResultReport& report, uint64_t correlationId) {
    return MakeCommand(kCommandFileError, FormatFileResultPayload(report), correlationId);
}

std::string ReadPayloadText(std::string_view payload, std::string_view key) {
    std::string value;
    if (!FindCommandPayloadValue(payload, key, value))
        return std::string();
    return UnescapeCommandValue(value);
}

uint64_t ReadPayloadNumber(std::string_view payload, std::string_view key) {
    std::string value;
    if (!FindCommandPayloadValue(payload, key, value))
        return 0;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t number = 0;
    size_t digits = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            break;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        // A peer's number past 64 bits stays at the largest value instead of wrapping to a small one.
        number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
        ++digits;
    }
    return digits == 0 ? 0 : number;
}
