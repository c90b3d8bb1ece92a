#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <optional>
#include <string>

#include "LogAssertions.h"
#include "LoopbackPort.h"
#include "LoopbackSocket.h"
#include "TestWait.h"
#include "WinsockTest.h"
#include "core/win/Handles.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardMessageFramer.h"
#include "transfer/FileTransferUi.h"
#include "transfer/win/ClipboardChannel.h"

// The far end of the clipboard channel for tests in one process: the channel is one object, so it runs as
// host and the test plays the controller with a raw loopback socket that speaks the message format.
namespace clipboard_peer {

constexpr const char* kLoopback = "127.0.0.1";
constexpr DWORD kWaitMs = 5000;

inline uint32_t Type(ClipboardMessageType type) {
    return static_cast<uint32_t>(type);
}

inline bool SendRaw(SOCKET s, uint32_t type, uint64_t id, uint32_t c, const std::string& payload,
                    uint32_t announcedBytes) {
    ClipboardMessageHeader h;
    h.type = type;
    h.id = id;
    h.a = payload.size();
    h.payloadBytes = announcedBytes;
    h.c = c;
    uint8_t header[kClipboardHeaderSize];
    EncodeClipboardHeader(h, header);
    return SendBytes(s, header, sizeof header) &&
           (payload.empty() || SendBytes(s, payload.data(), payload.size()));
}

inline bool Send(SOCKET s, ClipboardMessageType type, uint64_t id, uint32_t c, const std::string& payload) {
    return SendRaw(s, Type(type), id, c, payload, static_cast<uint32_t>(payload.size()));
}

// What a raw receive of one message gave.
enum class Got { Message, Closed, TimedOut };

// framer keeps what has arrived of a message across calls: a caller polling with short time-outs passes
// the same framer each time, so a message split across a time-out is not lost.
inline Got Receive(SOCKET s, ClipboardMessageFramer& framer, ClipboardMessage& message, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const std::optional<int> n = ReceiveBefore(s, framer.Space(), framer.SpaceSize(), start, timeoutMs);
        if (!n)
            return Got::TimedOut;
        if (*n <= 0)
            return Got::Closed;
        const auto status = framer.Commit(static_cast<size_t>(*n));
        if (status == ClipboardMessageFramer::Status::BadHeader)
            return Got::Closed;
        if (status == ClipboardMessageFramer::Status::Message) {
            message = framer.Take();
            return Got::Message;
        }
    }
}

inline Got Receive(SOCKET s, ClipboardMessage& message, DWORD timeoutMs = kWaitMs) {
    ClipboardMessageFramer framer;
    return Receive(s, framer, message, timeoutMs);
}

inline std::string PayloadText(const ClipboardMessage& message) {
    return std::string(message.payload.begin(), message.payload.end());
}

inline std::string Utf16Bytes(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

// The clipboard's bytes of a format, read back as a user of the clipboard would; "" when it holds none.
inline std::string ClipboardBytes(UINT format) {
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.IsOpen())
        return std::string();
    HANDLE data = ::GetClipboardData(format);
    if (data == nullptr)
        return std::string();
    ScopedGlobalLock locked(data);
    if (locked.Get() == nullptr)
        return std::string();
    return std::string(static_cast<const char*>(locked.Get()), ::GlobalSize(data));
}

inline void EmptyTheClipboard() {
    ScopedClipboard clipboard(nullptr);
    if (clipboard.IsOpen())
        ::EmptyClipboard();
}

// Waits until the transfer model shows phase; snapshot: what it showed last.
inline bool WaitTransferPhase(FileTransferPhase phase, FileTransferSnapshot& snapshot) {
    return WaitUntil(
        [&] {
            FileTransferUi::Instance().Snapshot(snapshot);
            return snapshot.phase == phase;
        },
        kWaitMs);
}

// The channel started as host for each test, with the log position at the start of the test.
class ClipboardPeerTest : public WinsockTest {
protected:
    void SetUp() override {
        WinsockTest::SetUp();
        m_logStart = OwnLog().size();
        channel.SetPeerFilter(nullptr);
        EmptyTheClipboard();
    }
    void TearDown() override {
        channel.Stop();
        channel.SetPeerFilter(nullptr);
        FileTransferUi::Instance().Clear();
        WinsockTest::TearDown();
    }

    std::string LogSince() { return OwnLogSince(m_logStart); }
    bool WaitLog(const std::string& text, size_t count = 1) {
        return WaitUntil([&] { return CountOf(LogSince(), text) >= count; }, kWaitMs);
    }

    uint16_t StartHost() {
        const uint16_t port = FreeLoopbackPort();
        EXPECT_TRUE(channel.StartHost(port));
        EXPECT_TRUE(WaitLog("[CLIP][SOCKET][LISTEN] gen="));
        return port;
    }
    // Connects as the controller and takes the host's HELLO; invalid when there was none.
    UniqueSocket Connected(uint16_t port) {
        UniqueSocket s = ConnectLoopback(port);
        ClipboardMessage hello;
        if (!s.Valid() || Receive(s.Get(), hello) != Got::Message ||
            hello.header.type != Type(ClipboardMessageType::CB_HELLO))
            return UniqueSocket();
        return s;
    }

    ClipboardChannel& channel = ClipboardChannel::Instance();

private:
    size_t m_logStart = 0;
};

} // namespace clipboard_peer
