#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/win/Handles.h"
#include "media/VideoFrameAssembler.h"

// The controller's end of the video stream: listens on the video port, takes one connection at a time
// and cuts its bytes into frames (VideoFrameAssembler). ReceiveFrame never blocks for long (5 ms for a
// pending accept, 0 ms for data): the client session calls it in its loop. Used by one thread.
class TcpVideoReceiver {
public:
    // Decides from the dotted IPv4 address of a new connection whether it may feed the stream (the active
    // peer, inside the link's 10.x network); any other is closed at once.
    using AcceptFilter = std::function<bool(const std::string& ip)>;

    explicit TcpVideoReceiver(AcceptFilter acceptFilter);
    ~TcpVideoReceiver();
    TcpVideoReceiver(const TcpVideoReceiver&) = delete;
    TcpVideoReceiver& operator=(const TcpVideoReceiver&) = delete;

    // Listens on 0.0.0.0:port, non-blocking, backlog 1; port 0 takes any free port (ListenPort tells).
    bool Listen(uint16_t port);
    uint16_t ListenPort() const { return m_port; }

    // True when one whole frame was handed out: payload holds the encoded frame and the numbers are set;
    // otherwise the payload is empty and the numbers are 0. Any inconsistency in the stream drops the
    // connection and its buffer; the next call accepts the next connection.
    bool ReceiveFrame(std::vector<uint8_t>& payload, uint32_t& frameId, uint32_t& videoWidth,
                      uint32_t& videoHeight, uint32_t& desktopWidth, uint32_t& desktopHeight,
                      uint32_t* codec = nullptr);

    bool HasClient() const { return m_client.Valid(); }

    // Closes the client (scope "TcpVideoReceiver::CloseClient") and the listener (scope
    // "TcpVideoReceiver::ShutdownListen").
    void Shutdown();

private:
    bool AcceptIfNeeded();
    // Reads everything the socket holds; false when the connection was reset.
    bool ReadAvailable();
    void ResetClient();

    AcceptFilter m_acceptFilter;
    UniqueSocket m_listener;
    UniqueSocket m_client;
    uint16_t m_port = 0;
    VideoFrameAssembler m_assembler;
    std::vector<uint8_t> m_piece; // one recv's worth
};
