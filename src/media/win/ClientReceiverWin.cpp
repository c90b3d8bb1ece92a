#include <mutex>
#include <utility>

#include "core/Log.h"
#include "media/win/ClientPlatformWin.h"
#include "media/win/TcpVideoReceiver.h"

namespace {

class TcpVideoReceiverPort final : public IClientVideoReceiver {
public:
    explicit TcpVideoReceiverPort(std::function<bool(const std::string&)> accept)
        : m_receiver(std::move(accept)) {}

    bool Listen(uint16_t port) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed) {
            Log::Write("TCP video receiver closed before listen port=%u", static_cast<unsigned>(port));
            return false;
        }
        return m_receiver.Listen(port);
    }
    bool Receive(ClientVideoFrame& frame) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_closed)
            return false;
        uint32_t videoWidth = 0, videoHeight = 0, desktopWidth = 0, desktopHeight = 0;
        if (!m_receiver.ReceiveFrame(frame.payload, frame.frameId, videoWidth, videoHeight, desktopWidth,
                                     desktopHeight, &frame.codec))
            return false;
        // The receiver refused headers above the largest video side, so the casts keep the values.
        frame.videoWidth = static_cast<int32_t>(videoWidth);
        frame.videoHeight = static_cast<int32_t>(videoHeight);
        frame.desktopWidth = static_cast<int32_t>(desktopWidth);
        frame.desktopHeight = static_cast<int32_t>(desktopHeight);
        return true;
    }
    bool HasConnection() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return !m_closed && m_receiver.HasClient();
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
        m_receiver.Shutdown();
    }

private:
    std::mutex m_mutex;
    bool m_closed = false; // under m_mutex
    TcpVideoReceiver m_receiver;
};

} // namespace

std::unique_ptr<IClientVideoReceiver>
CreateTcpVideoReceiverPort(std::function<bool(const std::string&)> accept) {
    return std::make_unique<TcpVideoReceiverPort>(std::move(accept));
}
