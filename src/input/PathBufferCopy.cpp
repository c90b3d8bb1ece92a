#include "input/PathBufferCopy.h"

#include <algorithm>

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

bool CopyPathToBuffer(std::u16string_view path, char16_t* buffer, uint32_t capacity) {
    if (buffer == nullptr || capacity < 1)
        return false;
    size_t count = std::min<size_t>(path.size(), capacity - 1);
    // Half a pair would turn into a replacement character for the reader.
    if (count < path.size() && count > 0 && IsHighSurrogate(path[count - 1]))
        --count;
    std::copy_n(path.data(), count, buffer);
    buffer[count] = u'\0';
    return !path.empty();
}
