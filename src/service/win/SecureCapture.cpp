#include "service/win/SecureCapture.h"

#include <utility>

#include "service/SecureCaptureLoop.h"
#include "service/win/SecureFramePublisher.h"
#include "service/win/SecureGdiSource.h"
#include "service/win/WardletLog.h"
#include "service/win/WardletSupport.h"

namespace {

// The loop's platform in the worker process: waits on the service's stop event, the publisher, the BMP file
// in the data folder and Wardlet's log.
class WardletCapturePlatform final : public ISecureCapturePlatform {
public:
    WardletCapturePlatform(HANDLE stopEvent, HANDLE rebuildEvent, SecureFramePublisher* publisher,
                           const std::wstring& bmpName)
        : m_stopEvent(stopEvent), m_rebuildEvent(rebuildEvent), m_publisher(publisher), m_bmpName(bmpName) {}

    bool WaitForStop(uint32_t timeoutMs) override {
        const DWORD wait = ::WaitForSingleObject(m_stopEvent, timeoutMs);
        if (wait != WAIT_FAILED)
            return wait == WAIT_OBJECT_0;
        // A stop event that cannot be waited on can never stop the loop; end it rather than spin.
        WardletLog("stop event wait failed error=%lu; capture ends", ::GetLastError());
        return true;
    }
    bool RebuildRequested() override {
        return m_rebuildEvent != nullptr && ::WaitForSingleObject(m_rebuildEvent, 0) == WAIT_OBJECT_0;
    }
    void ResetRebuildRequest() override {
        if (m_rebuildEvent != nullptr)
            ::ResetEvent(m_rebuildEvent);
    }
    uint64_t NowMs() override { return ::GetTickCount64(); }
    bool Publish(const SecureCaptureImage& image) override {
        return m_publisher != nullptr &&
               m_publisher->Publish(image.pixels, image.width, image.height, image.stride);
    }
    SecureBmpResult WriteBmp(const SecureCaptureImage& image) override {
        if (m_bmpName.empty())
            return {};
        ::SetLastError(0);
        if (WriteBmpFile(m_bmpName.c_str(), image.pixels, image.width, image.height, image.stride))
            return {true, 0};
        return {false, ::GetLastError()};
    }
    void Log(const std::string& line) override { WardletLog("%s", line.c_str()); }
    std::string ErrorText(int32_t hr) override { return ::ErrorText(static_cast<uint32_t>(hr)); }

private:
    HANDLE m_stopEvent;
    HANDLE m_rebuildEvent;
    SecureFramePublisher* m_publisher;
    const std::wstring& m_bmpName;
};

} // namespace

SecureCapture::SecureCapture(SecureFramePublisher* publisher, std::wstring bmpName,
                             SecureDuplicationSource::DuplicateOutputFn duplicate)
    : m_publisher(publisher), m_bmpName(std::move(bmpName)), m_duplicate(std::move(duplicate)) {}

uint32_t SecureCapture::Run(HANDLE stopEvent, HANDLE rebuildEvent, bool captureOnce,
                            uint32_t accessDeniedExitCode, bool publishShared) {
    WardletCapturePlatform platform(stopEvent, rebuildEvent, m_publisher, m_bmpName);
    SecureDuplicationSource duplication(m_duplicate);
    SecureGdiSource gdi;
    SecureCaptureOptions options;
    options.captureOnce = captureOnce;
    options.accessDeniedExitCode = accessDeniedExitCode;
    options.publishShared = publishShared;
    options.bmpDiagnostics = !m_bmpName.empty();
    return SecureCaptureLoop(platform, duplication, gdi).Run(options);
}
