#pragma once

// True for a C text that is neither null nor empty: optional reasons and labels take their default otherwise.
inline bool HasText(const char* text) {
    return text != nullptr && *text != '\0';
}
