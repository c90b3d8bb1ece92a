#pragma once

#include <cstdint>
#include <string>

// The names the StateView panel prints for states and kinds (UTF-8), English or Chinese; any value outside
// a table reads "Unknown" / "未知" ("NONE" for a clipboard kind).
const char* ProgramStateDisplayName(int32_t programState, bool english);
const char* RoleDisplayName(int32_t role, bool english);
const char* ChannelStateDisplayName(int32_t channelState, bool english);
const char* ClipboardKindName(uint32_t kind);

// "%lluB" below 1 KiB, then "%.1fKB", "%.1fMB" and "%.1fGB" in powers of 1024.
std::string FormatPanelSize(uint64_t bytes);
