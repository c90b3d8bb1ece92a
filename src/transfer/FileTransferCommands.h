#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CommandBus.h"

// The payload texts of the file-transfer commands (key=value lines, text values escaped with
// EscapeCommandValue) and their builders. The same texts travel between the PCs over the clipboard channel.
// Every reader finds a key only at a line start (FindCommandPayloadValue) and undoes the escapes with
// UnescapeCommandValue, so a value can never be mistaken for a key.

struct HttpBeginPayload {
    uint64_t transferId = 0;
    uint32_t direction = 1;
    uint64_t totalBytes = 0;
    uint32_t itemCount = 0;
    uint16_t httpPort = 0;
    std::string displayName; // UTF-8
    std::string targetPath;  // UTF-8; empty from the sender
    std::string manifestUrl; // UTF-8
    bool conflictRename = false;
};

struct FileProgressReport {
    uint64_t transferId = 0;
    uint64_t doneBytes = 0;
    uint64_t totalBytes = 0;
    uint32_t currentIndex = 0;
    uint32_t itemCount = 0;
    uint64_t currentDoneBytes = 0;
    uint64_t currentTotalBytes = 0;
    std::string currentPath; // UTF-8
};

struct FileResultReport {
    uint64_t transferId = 0;
    int32_t errorCode = 0;
    std::string message; // UTF-8
};

// "mode=http_manifest\ntransferId=...\n...\nconflict=rename" (ten lines, no final line end).
std::string FormatHttpBeginPayload(const HttpBeginPayload& begin);
std::string FormatFileProgressPayload(const FileProgressReport& report);
std::string FormatFileResultPayload(const FileResultReport& report); // done and error
std::string FormatFileCancelPayload(uint64_t transferId, std::string_view reason);

CommandMessage MakeHttpBeginCommand(const HttpBeginPayload& begin);
CommandMessage MakeFileProgressCommand(const FileProgressReport& report, uint64_t correlationId);
CommandMessage MakeFileDoneCommand(const FileResultReport& report, uint64_t correlationId);
CommandMessage MakeFileCancelCommand(uint64_t transferId, std::string_view reason, uint64_t correlationId);
CommandMessage MakeFileErrorCommand(const FileResultReport& report, uint64_t correlationId);

// The unescaped value of the first line that starts with "key=" ("" when none).
std::string ReadPayloadText(std::string_view payload, std::string_view key);
// Unsigned decimal value of the key; 0 when absent, empty or not a number; saturates instead of wrapping.
uint64_t ReadPayloadNumber(std::string_view payload, std::string_view key);
