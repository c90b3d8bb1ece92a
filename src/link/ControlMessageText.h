#pragma once

#include <cstdarg>
#include <cstddef>
#include <string_view>

#include "core/Printf.h"

// Bounded text for everything built from fields that a peer or the protocol supplies: the 512-byte control
// messages and the status and log texts that quote peer fields. Cuts behave like snprintf (what does not fit
// is cut off, the buffer stays zero-terminated) but never leave half of a UTF-8 character behind.

// Appends printf-style text at `length` (< capacity) of a zero-terminated buffer of `capacity` bytes and
// returns the new length, at most capacity - 1. A format error leaves the text as it was.
size_t AppendBoundedV(char* buffer, size_t capacity, size_t length, const char* format, va_list args);

// A text of at most Capacity - 1 bytes built from parts. Once full, further parts are cut off.
template <size_t Capacity> class BoundedText {
    static_assert(Capacity >= 1, "room for the terminating zero");

public:
    static constexpr size_t kCapacity = Capacity;

    void Append(const char* format, ...) TSLY_PRINTF(2, 3) {
        va_list args;
        va_start(args, format);
        m_length = AppendBoundedV(m_text, Capacity, m_length, format, args);
        va_end(args);
    }
    std::string_view View() const { return std::string_view(m_text, m_length); }
    const char* CStr() const { return m_text; }
    size_t Length() const { return m_length; }

private:
    char m_text[Capacity] = {};
    size_t m_length = 0;
};
