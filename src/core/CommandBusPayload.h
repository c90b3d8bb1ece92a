#pragma once

#include <string>
#include <string_view>

#include "core/CommandBus.h"

// The value escaping of the command payload texts (key=value lines) and the runtime-state command (type
// 500). The builders and readers of the file-transfer commands use these.

// Backslash -> "\\\\", line feed -> "\\n", carriage return -> "\\r"; every other byte is copied.
std::string EscapeCommandValue(std::string_view text);
// Undoes EscapeCommandValue: "\\\\", "\\n" and "\\r" become one byte; any other backslash (also a lone
// one at the end) is copied unchanged. UnescapeCommandValue(EscapeCommandValue(x)) == x for every x.
std::string UnescapeCommandValue(std::string_view text);
// The value of the first line "key=value" of a payload text, cut at the line end, a trailing "\r" removed,
// still escaped. False (value empty) when no line starts with "key=".
bool FindCommandPayloadValue(std::string_view payload, std::string_view key, std::string& value);

// "program=%d role=%d", formatted into a 128-byte buffer, no line end.
std::string FormatRuntimeStatePayload(int programState, int role);
// The type-500 "runtime.state.changed" message with correlationId 0.
CommandMessage MakeRuntimeStateChangedCommand(int programState, int role);
