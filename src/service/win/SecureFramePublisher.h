#pragma once

#include <windows.h>

#include <cstdint>

#include "core/win/Handles.h"

// The capture worker's side of the secure-desktop frame mapping: the one writer. Tessaly's HostSession reads
// it (SecureDesktopFrameReader).
class SecureFramePublisher {
public:
    // Creates (or re-creates) the mapping and its ready event and writes a fresh header; the sequence starts
    // again at 1. False when either object cannot be made.
    bool Init();
    // Copies one frame into the unpublished buffer and publishes it. False when there is no mapping or the
    // frame does not fit (width or height below 1, stride below width * 4, more than the buffer holds).
    bool Publish(const uint8_t* pixels, int32_t width, int32_t height, int32_t sourceStride);
    // Unmaps the view and closes the mapping and the event.
    void Close();

private:
    UniqueHandle m_mapping;
    UniqueMappedView m_view;
    UniqueHandle m_readyEvent;
    uint64_t m_sequence = 0;
};
