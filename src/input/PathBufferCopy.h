#pragma once

#include <cstdint>
#include <string_view>

// Copies path into a caller's buffer of capacity characters: cut to fit without splitting a surrogate
// pair, and always terminated. False for a null buffer or a capacity below 1 (nothing is written); else
// whether path is non-empty.
bool CopyPathToBuffer(std::u16string_view path, char16_t* buffer, uint32_t capacity);
