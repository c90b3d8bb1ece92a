#pragma once

#include <cstdint>
#include <string>

// "%llu bytes" below 1 KiB, else "%.2f KB", "%.2f MB" or "%.2f GB" (powers of 1,024): the disk-space texts.
std::string FormatByteSize(uint64_t bytes);
