#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/win/Handles.h"
#include "media/VideoFrameHeader.h"

// The host's end of the video stream: one TCP connection to the controller's video port. Used by the
// host session thread alone. Connect and every send are bounded in time (media/VideoTransportTiming.h).
// A failed send cuts a frame, so it drops the connection: IsConnected turns false and the host connects
// again with Connect.
class TcpVideoSender {
public:
    TcpVideoSender() = default;
    ~TcpVideoSender();
    TcpVideoSender(const TcpVideoSender&) = delete;
    TcpVideoSender& operator=(const TcpVideoSender&) = delete;

    // Closes any previous connection, then connects to peerIp:port (dotted IPv4), retrying every 50 ms
    // for up to 2,500 ms. Logs "TCP video sender connected peer=%s:%u" on success, else one of the
    // socket, inet_pton or connect failure lines.
    bool Connect(const std::string& peerIp, uint16_t port);

    // Sends one header and frame. False, with nothing sent, without a connection, for null data or a size
    // of 0 or above 0x10000000; false after a failed or timed-out send, which also drops the connection.
    bool SendFrame(const uint8_t* data, size_t size, uint32_t frameId, uint32_t videoWidth,
                   uint32_t videoHeight, uint32_t desktopWidth, uint32_t desktopHeight, VideoCodecFlag codec);

    bool IsConnected() const { return m_connected; }

    // Closes the connection (scope "TcpVideoSender::Shutdown"); nothing when there is none.
    void Shutdown();

private:
    void Drop(const char* scope);

    UniqueSocket m_socket;
    bool m_connected = false;
};
