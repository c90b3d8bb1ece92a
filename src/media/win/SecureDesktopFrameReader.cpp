#include "media/win/SecureDesktopFrameReader.h"

#include <span>

#include "core/win/TextConvert.h"
#include "service/SecureFrameRead.h"
#include "service/WardletShared.h"

bool SecureDesktopFrameReader::Open() {
    if (m_view && m_readyEvent)
        return true;
    Close();
    UniqueHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, AsWide(kSecureFrameMappingName).c_str()));
    if (!mapping)
        return false;
    UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, kSecureFrameMappingSize));
    if (!view)
        return false;
    UniqueHandle readyEvent(::OpenEventW(SYNCHRONIZE, FALSE, AsWide(kSecureFrameReadyEventName).c_str()));
    if (!readyEvent)
        return false;
    m_mapping = std::move(mapping);
    m_view = std::move(view);
    m_readyEvent = std::move(readyEvent);
    return true;
}

bool SecureDesktopFrameReader::ReadFrame(std::vector<uint8_t>& out, int32_t targetWidth, int32_t targetHeight,
                                         uint64_t* lastSequence) {
    if (!Open())
        return false;
    const std::span<const uint8_t> view(static_cast<const uint8_t*>(m_view.Get()), kSecureFrameMappingSize);
    return ReadSecureFrame(view, ::GetTickCount64(), targetWidth, targetHeight, lastSequence, m_raw, out);
}

void SecureDesktopFrameReader::Close() {
    m_view.Reset();
    m_mapping.Reset();
    m_readyEvent.Reset();
    m_raw.clear();
    m_raw.shrink_to_fit();
}
