#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/LogPlatform.h"

// One log line, ending included, never takes more than this (with its terminating zero).
constexpr size_t kLogLineBufferSize = 4096;
// Room for the prefix and the message; "\r\n" and the zero follow.
constexpr size_t kLogLineTextLimit = 4093;

// "YYYY-MM-DD hh:mm:ss.mmm tid=N " into buffer; returns its length, or 0 when it does not fit.
size_t FormatLogPrefix(char* buffer, size_t capacity, const LocalTimeStamp& time, uint32_t threadId);

// Copies message into out (at most room bytes, no terminator) with control characters other than tab
// escaped as \r, \n or \xHH, so that text from outside cannot start a line of its own. A cut never splits
// an escape or a UTF-8 character. Returns the number of bytes written.
size_t AppendEscapedMessage(char* out, size_t room, std::string_view message);

// Length of text without a UTF-8 character that its end cuts short.
size_t Utf8CompleteLength(std::string_view text);
