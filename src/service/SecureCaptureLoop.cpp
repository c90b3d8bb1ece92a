#include "service/SecureCaptureLoop.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "service/BlackFrameStats.h"
#include "service/SecureCaptureRules.h"
#include "service/WardletShared.h"

namespace {

constexpr uint32_t kTooLargeLogIntervalMs = 10000;

bool Failed(int32_t hr) {
    return hr < 0;
}

uint32_t Hex(int32_t hr) {
    return static_cast<uint32_t>(hr);
}

bool EveryTenth(uint32_t count) {
    return count == 1 || count % 10 == 0;
}

} // namespace

SecureCaptureLoop::SecureCaptureLoop(ISecureCapturePlatform& platform, ISecureCaptureSource& duplication,
                                     ISecureCaptureSource& gdi)
    : m_platform(platform), m_duplication(duplication), m_gdi(gdi) {}

uint32_t SecureCaptureLoop::Run(const SecureCaptureOptions& options) {
    m_options = options;
    const uint32_t result = RunPasses();
    ReleasePipeline();
    return result;
}

uint32_t SecureCaptureLoop::RunPasses() {
    if (m_platform.WaitForStop(0))
        return 0;
    for (;;) {
        if (m_platform.RebuildRequested()) {
            m_platform.ResetRebuildRequest();
            ReleasePipeline();
            Log("session/desktop notification: recreating capture pipeline");
        }

        CapturePath path = CapturePath::Duplication;
        const int32_t hr = m_duplication.Init();
        if (Failed(hr)) {
            Log("DDA initialize failed hr=0x%08X %s", Hex(hr), m_platform.ErrorText(hr).c_str());
            if (m_options.captureOnce)
                return Hex(hr);
            if (hr == kSecureCaptureAccessDenied && m_options.accessDeniedExitCode != 0) {
                Log("DDA access denied on current worker desktop; requesting alternate desktop "
                    "exitCode=0x%08X",
                    m_options.accessDeniedExitCode);
                return m_options.accessDeniedExitCode;
            }
            // Wine's DuplicateOutput answers E_NOTIMPL where Windows says unsupported: both mean no
            // duplication on this desktop, and GDI still reaches it.
            bool gdiReady = false;
            if ((hr == kSecureCaptureUnsupported || hr == kSecureCaptureNotImplemented) &&
                m_options.publishShared) {
                const int32_t gdiHr = m_gdi.Init();
                gdiReady = !Failed(gdiHr);
                if (gdiReady)
                    Log("[SECURE_GDI][ENTER] DuplicateOutput unsupported; continue Winlogon capture with GDI "
                        "shared-frame publisher");
                else
                    Log("[SECURE_GDI][INIT_FAIL] hr=0x%08X %s; retry capture initialization", Hex(gdiHr),
                        m_platform.ErrorText(gdiHr).c_str());
            }
            if (!gdiReady) {
                if (m_platform.WaitForStop(kSecureRetryWaitMs))
                    return 0;
                continue;
            }
            path = CapturePath::Gdi;
        }

        const FrameLoopEnd end = FrameLoop(path);
        if (end.endsRun)
            return end.result;
        ReleasePipeline();
        if (m_platform.WaitForStop(path == CapturePath::Gdi ? kSecureRetryWaitMs
                                                            : kSecureDuplicationRetryWaitMs))
            return 0;
    }
}

SecureCaptureLoop::FrameLoopEnd SecureCaptureLoop::FrameLoop(CapturePath path) {
    ISecureCaptureSource& source = path == CapturePath::Gdi ? m_gdi : m_duplication;
    const char* pathName = path == CapturePath::Gdi ? "GDI" : "DDA";
    for (;;) {
        if (m_platform.WaitForStop(0))
            return {true, 0};
        if (m_platform.RebuildRequested())
            return {};

        SecureCaptureImage image;
        int32_t hr = source.BeginFrame(image);
        if (hr == kSecureCaptureWaitTimeout) {
            // No new frame: the screen did not change. The next acquire waits again, so no pause here.
            RepublishIfDue();
            continue;
        }

        BlackFrameStats stats;
        Delivery delivery;
        if (!Failed(hr)) {
            stats =
                MeasureBlackFrame(image.pixels, image.bufferSize, image.width, image.height, image.stride);
            if (!stats.black)
                delivery = Deliver(image, path);
            const int32_t released = source.EndFrame();
            hr = Failed(delivery.hr) ? delivery.hr : released;
        }

        if (Failed(hr)) {
            if (path == CapturePath::Gdi && hr == kSecureCaptureAccessDenied &&
                m_options.accessDeniedExitCode != 0) {
                Log("[SECURE_GDI][DESKTOP_CHANGED] GDI access denied; request alternate desktop "
                    "exitCode=0x%08X",
                    m_options.accessDeniedExitCode);
                return {true, m_options.accessDeniedExitCode};
            }
            Log("capture failed path=%s hr=0x%08X %s; pipeline will be recreated", pathName, Hex(hr),
                m_platform.ErrorText(hr).c_str());
            return {};
        }

        if (stats.black) {
            ++m_skippedBlack;
            if (EveryTenth(m_skippedBlack))
                Log("zero/black frame skipped path=%s count=%u maxRgb=%u nonBlackPermille=%u", pathName,
                    m_skippedBlack, stats.maxRgb, stats.nonBlackPermille);
        } else if (delivery.shared || delivery.bmp) {
            ++m_delivered;
            if (EveryTenth(m_delivered))
                Log("frame delivered path=%s frame=%u shared=%u bmp=%u maxRgb=%u nonBlackPermille=%u",
                    pathName, m_delivered, delivery.shared ? 1u : 0u, delivery.bmp ? 1u : 0u, stats.maxRgb,
                    stats.nonBlackPermille);
            if (m_options.captureOnce)
                return {true, 0};
        }

        if (m_platform.WaitForStop(kSecureFrameIntervalMs))
            return {true, 0};
    }
}

SecureCaptureLoop::Delivery SecureCaptureLoop::Deliver(const SecureCaptureImage& image, CapturePath path) {
    Delivery delivery;
    if (m_options.publishShared) {
        delivery.shared = PublishChecked(image);
        // GDI publishes every pass; only duplication goes quiet while the screen stands still.
        if (delivery.shared && path == CapturePath::Duplication)
            KeepLastFrame(image);
    }
    if (m_options.bmpDiagnostics) {
        const SecureBmpResult bmp = m_platform.WriteBmp(image);
        delivery.bmp = bmp.written;
        if (!bmp.written && path == CapturePath::Duplication)
            delivery.hr = SecureHresultFromWin32(bmp.lastError);
    }
    return delivery;
}

bool SecureCaptureLoop::PublishChecked(const SecureCaptureImage& image) {
    const uint64_t bytes = uint64_t(uint32_t(image.width)) * uint64_t(uint32_t(image.height)) * 4;
    if (bytes > kSecureFrameCapacity) {
        // The publisher refuses such a frame; without this line a huge desktop would just never appear.
        if (m_throttle.Allow("too-large", kTooLargeLogIntervalMs, static_cast<uint32_t>(m_platform.NowMs())))
            Log("[SECURE_PUBLISH][TOO_LARGE] size=%ux%u bytes=%llu limit=%u", uint32_t(image.width),
                uint32_t(image.height), static_cast<unsigned long long>(bytes), kSecureFrameCapacity);
        return false;
    }
    if (!m_platform.Publish(image))
        return false;
    m_lastPublishMs = m_platform.NowMs();
    return true;
}

void SecureCaptureLoop::KeepLastFrame(const SecureCaptureImage& image) {
    const size_t rowBytes = size_t(image.width) * 4;
    m_lastFrame.resize(rowBytes * size_t(image.height));
    for (int32_t y = 0; y < image.height; ++y)
        std::memcpy(m_lastFrame.data() + size_t(y) * rowBytes,
                    image.pixels + size_t(y) * size_t(image.stride), rowBytes);
    m_lastWidth = image.width;
    m_lastHeight = image.height;
}

void SecureCaptureLoop::RepublishIfDue() {
    if (!m_options.publishShared || m_lastFrame.empty())
        return;
    const uint64_t now = m_platform.NowMs();
    if (now - m_lastPublishMs < kSecureRepublishIntervalMs)
        return;
    SecureCaptureImage copy;
    copy.pixels = m_lastFrame.data();
    copy.bufferSize = m_lastFrame.size();
    copy.width = m_lastWidth;
    copy.height = m_lastHeight;
    copy.stride = m_lastWidth * 4;
    // The publisher stamps a fresh tick and sequence, so the reader takes the unchanged screen as current.
    if (m_platform.Publish(copy))
        m_lastPublishMs = now;
}

void SecureCaptureLoop::ReleasePipeline() {
    m_duplication.Release();
    m_gdi.Release();
    // A frame of the old pipeline may show a desktop that is gone.
    m_lastFrame.clear();
    m_lastFrame.shrink_to_fit();
}

void SecureCaptureLoop::Log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (length > 0) {
        line.resize(size_t(length) + 1);
        std::vsnprintf(line.data(), line.size(), format, args);
        line.resize(size_t(length));
    }
    va_end(args);
    m_platform.Log(line);
}
