#pragma once

#include <windows.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "media/CaptureTypes.h"

class DuplicatorCapture;

// Captures the desktop of one output with DXGI desktop duplication. One asynchronous capture thread runs
// in one of two modes and always keeps the newest frame:
// - CPU mode ("DesktopDuplicatorAsync"): BGRA copied to system memory, a rotated display turned upright
//   and scaled down to a maximum size; taken with GetLatestFrameBGRA.
// - GPU mode ("DesktopDuplicatorAsyncNV12"): the Direct3D 11 video processor converts to full-range BT.709
//   NV12; taken with GetLatestFrame.
//
// Init, Shutdown and the starts are for one owning thread (the host session): Init, one Start, frames,
// Stop, Shutdown. The capture thread never waits for the consumer. Nothing here throws; every failure is a
// log line, a status and a false result. Under Wine DuplicateOutput is not implemented, so Init fails and the
// caller falls back to GDI capture.
class DesktopDuplicator {
public:
    DesktopDuplicator();
    ~DesktopDuplicator(); // Shutdown
    DesktopDuplicator(const DesktopDuplicator&) = delete;
    DesktopDuplicator& operator=(const DesktopDuplicator&) = delete;

    // Picks the output that shows the primary monitor and duplicates it. True when duplication is ready.
    bool Init();
    // Stops the capture thread, releases every Direct3D object and returns to the state before Init
    // (status NoNewFrame, SDR colour). Safe to call more than once.
    void Shutdown();

    // Starts the CPU mode; frames are at most maxWidth x maxHeight (both above 0), else the logical size.
    // True when the thread runs (also when one was already running).
    bool StartAsyncCapture(int32_t maxWidth, int32_t maxHeight);
    // Starts the GPU mode; refused on a rotated output or when the video processor is unavailable.
    bool StartAsyncCaptureNV12();
    // Safe from any thread, also from the capture thread itself (which then is detached, not joined).
    void StopAsyncCapture();

    // The newest NV12 frame (width * height * 3 / 2 bytes), waiting up to timeoutMs for one that was not
    // taken yet. False at once unless the GPU mode runs.
    bool GetLatestFrame(std::vector<uint8_t>& nv12, int32_t& width, int32_t& height, int timeoutMs);
    // The same for the CPU mode: the newest BGRA frame (rows packed, alpha 255 for an X8 desktop).
    bool GetLatestFrameBGRA(std::vector<uint8_t>& bgra, int32_t& width, int32_t& height, int timeoutMs);

    // Status of the last capture (or NoNewFrame after Shutdown).
    CaptureStatus Status() const;
    // Frames captured in the last whole second.
    uint32_t CapturedFps() const;
    // Paces the capture thread: at most one capture per intervalMs; 0 captures as fast as frames come.
    void SetCaptureIntervalMs(uint32_t intervalMs);
    // True while a capture thread runs.
    bool AsyncRunning() const;

    // The captured output's desktop size and rotation (valid after a successful Init).
    int32_t LogicalWidth() const { return m_logicalWidth; }
    int32_t LogicalHeight() const { return m_logicalHeight; }
    CaptureRotation Rotation() const { return m_rotation; }
    bool HdrDesktopActive() const { return m_hdrDesktopActive; }
    CaptureColorDescription ColorDescription() const { return m_color; }
    uint32_t HdrFlags() const { return m_color.hdrFlags; }

private:
    class Step;

    bool SelectAndDuplicate();
    void DecideColor(IDXGIOutput* output);
    bool EnsureStagingTexture(uint32_t width, uint32_t height, DXGI_FORMAT format);
    bool EnsureVideoProcessor();
    void ReleaseD3D();

    // Guards every Direct3D object and the immediate context: a capture holds it for one frame, and Init,
    // Shutdown and the video processor set-up take it, so a capture never sees half-released objects and
    // the context is never used from two threads at once.
    std::mutex m_d3dMutex;
    Microsoft::WRL::ComPtr<ID3D11Device> m_device;
    Microsoft::WRL::ComPtr<ID3D11DeviceContext> m_context;
    Microsoft::WRL::ComPtr<IDXGIOutputDuplication> m_duplication;
    Microsoft::WRL::ComPtr<ID3D11Texture2D> m_staging;
    Microsoft::WRL::ComPtr<ID3D11VideoDevice> m_videoDevice;
    Microsoft::WRL::ComPtr<ID3D11VideoContext> m_videoContext;
    Microsoft::WRL::ComPtr<ID3D11VideoProcessorEnumerator> m_videoEnumerator;
    Microsoft::WRL::ComPtr<ID3D11VideoProcessor> m_videoProcessor;
    Microsoft::WRL::ComPtr<ID3D11Texture2D> m_nv12Output;
    Microsoft::WRL::ComPtr<ID3D11Texture2D> m_nv12Staging;
    Microsoft::WRL::ComPtr<ID3D11VideoProcessorOutputView> m_outputView;

    // The capture thread's step over the objects above, and the thread itself (declared after the step,
    // so the thread is gone before the step it calls).
    std::unique_ptr<Step> m_step;
    std::unique_ptr<DuplicatorCapture> m_capture;

    bool m_hdrDesktopActive = false;
    CaptureColorDescription m_color;
    int32_t m_logicalWidth = 0;
    int32_t m_logicalHeight = 0;
    int32_t m_rawWidth = 0;
    int32_t m_rawHeight = 0;
    CaptureRotation m_rotation = CaptureRotation::Identity;
    uint32_t m_adapterIndex = 0;
    uint32_t m_outputIndex = 0;
};
