#include "transfer/HttpBeginInfo.h"

#include "core/CommandBusPayload.h"
#include "transfer/FileTransferCommands.h"

namespace {

bool IsRenameWord(std::string_view value) {
    return value == "rename" || value == "1" || value == "true";
}

} // namespace

bool ParseBeginPayload(std::string_view payload, HttpBeginInfo& info) {
    info = HttpBeginInfo{};
    const bool manifestMode = ReadPayloadText(payload, "mode") == "http_manifest";
    info.transferId = ReadPayloadNumber(payload, "transferId");
    info.totalBytes = ReadPayloadNumber(payload, "totalBytes");
    const uint64_t itemCount = ReadPayloadNumber(payload, "itemCount");
    const uint64_t httpPort = ReadPayloadNumber(payload, "httpPort");
    info.itemCount = itemCount > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(itemCount);
    info.httpPort = httpPort > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(httpPort);
    info.displayName = ReadPayloadText(payload, "displayName");
    info.targetPath = ReadPayloadText(payload, "targetPath");
    info.manifestUrl = ReadPayloadText(payload, "manifestUrl");
    info.conflictRename = IsRenameWord(ReadPayloadText(payload, "conflict"));
    return manifestMode && info.transferId != 0 && !info.manifestUrl.empty();
}

std::string SetPayloadValue(std::string_view payload, std::string_view key, std::string_view escapedValue) {
    std::string out;
    out.reserve(payload.size() + key.size() + escapedValue.size() + 2);
    bool matched = false;
    size_t start = 0;
    for (;;) {
        const size_t end = payload.find('\n', start);
        const std::string_view line =
            payload.substr(start, end == std::string_view::npos ? end : end - start);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=') {
            out.append(key).append("=").append(escapedValue);
            matched = true;
        } else {
            out.append(line);
        }
        if (end == std::string_view::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    if (!matched) {
        if (!out.empty() && out.back() != '\n')
            out += '\n';
        out.append(key).append("=").append(escapedValue).append("\n");
    }
    return out;
}

std::string LocalBeginPayload(std::string_view payload, std::string_view targetFolderUtf8,
                              bool conflictRename) {
    // An empty folder empties the line too: the folder the sender named is never used.
    const std::string edited = SetPayloadValue(payload, "targetPath", EscapeCommandValue(targetFolderUtf8));
    return SetPayloadValue(edited, "conflict", conflictRename ? "rename" : "overwrite");
}
