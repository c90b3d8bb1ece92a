#include "link/ControlMessageText.h"

#include <cstdio>

#include "core/LogLine.h"

size_t AppendBoundedV(char* buffer, size_t capacity, size_t length, const char* format, va_list args) {
    if (buffer == nullptr || length >= capacity)
        return length;
    size_t room = capacity - length;
    int wanted = std::vsnprintf(buffer + length, room, format, args);
    if (wanted < 0) {
        buffer[length] = '\0';
        return length;
    }
    size_t added = static_cast<size_t>(wanted);
    if (added >= room) // cut: keep only whole characters of the part
        added = Utf8CompleteLength(std::string_view(buffer + length, room - 1));
    buffer[length + added] = '\0';
    return length + added;
}
