#pragma once

#include <cstdint>

// The controller's render thread, "RemoteViewRenderer": one Direct3D 11 renderer drawing the newest frame of
// the RemoteViewFrameQueue into RemoteView (or the main window when RemoteView does not exist). Every
// Direct3D object lives on that thread; the functions below touch only atomics, the renderer mutex and the
// queue, so any thread may call them.

// Starts the thread with the stream size and waits up to 3000 ms for its device and swap chain. A thread
// of an earlier start that has not left yet is waited for first (bounded), since a window holds only one
// flip-model swap chain. False on a missing window, a size below 1, a failed or late init.
bool RemoteViewStartRenderer(int32_t width, int32_t height);
// Covers the view, asks for one black frame (GDI paint when it is not presented in time) and signals the
// thread to leave. Does not wait for the thread: the UI thread may call it while the thread is inside
// Present, which can send messages to the window.
void RemoteViewStopRenderer();
// Running, and its init finished with success.
bool RemoteViewIsRendererReady();
// A thread has been started and not stopped (init may still be under way).
bool RemoteViewIsRendererRunning();
// Queues a black-request and waits up to 120 ms for the thread to present it.
bool RemoteViewPresentBlackAndWait();
// The main window's modal move/size loop: rendering, presenting and ResizeBuffers pause while it runs.
void RemoteViewSetSizeMoveActive(bool active);
bool RemoteViewIsSizeMoveActive();

// Frame submit from the ClientSession thread: copies the picture into a queue record and wakes the render
// thread. True only when a controller session is live, the renderer runs and the queue took the frame.
// NV12: Nv12PictureBytes(codedW, codedH) bytes, luma then interleaved chroma, rows of codedW bytes.
bool RemoteViewSubmitNv12Frame(const uint8_t* bytes, int32_t codedW, int32_t codedH, int32_t visibleW,
                               int32_t visibleH);
// BGRA: h rows of stride bytes (w * 4 when stride is below 1).
bool RemoteViewSubmitBgraFrame(const uint8_t* bytes, int32_t w, int32_t h, int32_t visibleW, int32_t visibleH,
                               int32_t stride);
