#include "media/win/SecureDesktopPort.h"

#include <windows.h>

#include "core/Utf.h"
#include "media/win/SecureDesktop.h"
#include "service/WardletShared.h"

bool SecureDesktopPort::IsActive() {
    return IsSecureDesktopActive();
}

bool SecureDesktopPort::RequestWorkerFrame(const char* reason) {
    return RequestSecureDesktopWorkerFrame(reason);
}

void SecureDesktopPort::SetFrameSize(int32_t width, int32_t height) {
    m_width = width;
    m_height = height;
}

bool SecureDesktopPort::ReadFreshFrame(HostFrame& frame, uint64_t& sequence) {
    if (!m_reader.ReadFrame(frame.pixels, m_width, m_height, &m_lastSequence))
        return false;
    frame.width = m_width;
    frame.height = m_height;
    frame.nv12 = false;
    sequence = m_lastSequence;
    return true;
}

void SecureDesktopPort::WaitFrameReady(uint32_t ms) {
    if (m_reader.Open())
        ::WaitForSingleObject(m_reader.ReadyEvent(), ms);
    else
        ::Sleep(ms);
}

std::string SecureDesktopPort::MappingName() {
    return Utf16ToUtf8(kSecureFrameMappingName);
}

std::string SecureDesktopPort::EventName() {
    return Utf16ToUtf8(kSecureFrameReadyEventName);
}

void SecureDesktopPort::Close() {
    m_reader.Close();
    // A worker started later counts its sequence from 1 again.
    m_lastSequence = 0;
}
