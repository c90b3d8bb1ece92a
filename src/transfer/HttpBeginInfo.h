#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The receiver's reading of a "file.http.begin" payload (FileTransferCommands.h writes it).
struct HttpBeginInfo {
    uint64_t transferId = 0;
    uint64_t totalBytes = 0;
    uint32_t itemCount = 0;
    uint32_t httpPort = 0;
    std::string displayName; // UTF-8
    std::string targetPath;  // UTF-8; empty: the receiver's default folder
    std::string manifestUrl; // UTF-8
    bool conflictRename = false;
};

// Fills info from the payload's lines. False (invalid) unless "mode" is exactly "http_manifest", transferId
// is not 0 and manifestUrl is not empty. "conflict" means rename for "rename", "1" or "true".
bool ParseBeginPayload(std::string_view payload, HttpBeginInfo& info);

// Replaces every line that starts with "key=" by "key=" + escapedValue (the caller escapes it); when no line
// matched, appends that line (after a "\n" when the text does not end with one). Other lines, and a
// trailing line end, stay as they were.
std::string SetPayloadValue(std::string_view payload, std::string_view key, std::string_view escapedValue);

// The payload of a begin that this PC starts itself (a drop or paste): the drop folder ("" = the default
// folder) and this PC's conflict rule replace whatever the sender wrote.
std::string LocalBeginPayload(std::string_view payload, std::string_view targetFolderUtf8,
                              bool conflictRename);
