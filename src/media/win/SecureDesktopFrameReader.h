#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/win/Handles.h"

// Tessaly's side of the frame mapping that Wardlet's capture worker publishes the secure desktop into: the
// newest frame, scaled to the size the host encodes. Never writes to the mapping. Used by the session
// thread alone.
class SecureDesktopFrameReader {
public:
    // Opens the mapping (read-only) and its ready event; true at once when both are open. False while the
    // worker has not made them (the caller tries again later).
    bool Open();
    // A new, valid frame at most 3,000 ms old, as targetWidth * targetHeight BGRA pixels (packed, top-down).
    // lastSequence (optional): the sequence of the frame taken before; a frame with it is nothing new, and
    // it receives the sequence of the frame delivered. Every refusal is a plain false without a log line.
    bool ReadFrame(std::vector<uint8_t>& out, int32_t targetWidth, int32_t targetHeight,
                   uint64_t* lastSequence);
    // The ready event (null while not open), signalled after each published frame.
    HANDLE ReadyEvent() const { return m_readyEvent.Get(); }
    // Unmaps and closes everything; safe when nothing is open.
    void Close();

private:
    UniqueHandle m_mapping;
    UniqueHandle m_readyEvent;
    UniqueMappedView m_view;
    std::vector<uint8_t> m_raw;
};
