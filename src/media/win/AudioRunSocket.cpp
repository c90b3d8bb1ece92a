#include "media/win/AudioRunSocket.h"

#include "core/win/CloseHelpers.h"

bool AudioRunSocket::Publish(SOCKET socket) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopped)
        return false;
    m_socket = socket;
    return true;
}

void AudioRunSocket::Withdraw() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_socket = INVALID_SOCKET;
}

void AudioRunSocket::Wake() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopped = true;
    ShutdownSocketQuiet(m_socket);
}
