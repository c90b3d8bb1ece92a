#include "service/win/SecureFramePublisher.h"

#include <memory>
#include <span>

#include "core/win/TextConvert.h"
#include "service/win/SddlSecurity.h"
#include "service/SecureFrameWrite.h"
#include "service/WardletShared.h"

bool SecureFramePublisher::Init() {
    Close();
    // The frames show logon and elevation screens: SYSTEM and Administrators only. Default security (the
    // creator's) when the descriptor cannot be built still keeps other users out.
    SddlSecurity security(kSecureFrameSddl);
    // An object that already exists (a reader still holds the last worker's mapping) is opened and its
    // header rewritten, so the sequence restarts at 1 for the readers too.
    UniqueHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, security.Get(), PAGE_READWRITE,
                                              static_cast<DWORD>(kSecureFrameMappingSize >> 32),
                                              static_cast<DWORD>(kSecureFrameMappingSize & 0xFFFFFFFF),
                                              AsWide(kSecureFrameMappingName).c_str()));
    if (!mapping)
        return false;
    UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kSecureFrameMappingSize));
    if (!view)
        return false;
    UniqueHandle readyEvent(
        ::CreateEventW(security.Get(), FALSE, FALSE, AsWide(kSecureFrameReadyEventName).c_str()));
    if (!readyEvent)
        return false;
    if (!InitSecureFrameHeader({static_cast<uint8_t*>(view.Get()), kSecureFrameMappingSize}))
        return false;
    m_mapping = std::move(mapping);
    m_view = std::move(view);
    m_readyEvent = std::move(readyEvent);
    return true;
}

bool SecureFramePublisher::Publish(const uint8_t* pixels, int32_t width, int32_t height,
                                   int32_t sourceStride) {
    if (!m_view || !m_readyEvent)
        return false;
    DWORD sessionId = 0;
    if (!::ProcessIdToSessionId(::GetCurrentProcessId(), &sessionId))
        sessionId = 0;
    const SecureFrameStamp stamp{::GetCurrentProcessId(), sessionId, ::GetTickCount64(), m_sequence + 1};
    // The exchange of the published index inside is a full fence (an interlocked exchange on x64).
    if (!PublishSecureFrame({static_cast<uint8_t*>(m_view.Get()), kSecureFrameMappingSize}, pixels, width,
                            height, sourceStride, stamp))
        return false;
    m_sequence = stamp.sequence;
    ::SetEvent(m_readyEvent.Get());
    return true;
}

void SecureFramePublisher::Close() {
    m_view.Reset();
    m_mapping.Reset();
    m_readyEvent.Reset();
    m_sequence = 0;
}
