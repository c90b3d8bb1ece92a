#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "link/HealthLine.h"
#include "link/RndisAdapter.h"

// StateView, the diagnostic panel at the top right of the main window (hidden until Ctrl+Alt+0). It paints
// a fresh runtime snapshot once a second; its one-second timer 202 also does the periodic work that must go
// on while the panel is hidden: the cable adapter's address check, the HID presence probe and the transfer
// model's tick. UI thread only.

inline constexpr UINT_PTR kStateViewTimerId = 202;
inline constexpr UINT kStateViewTimerMs = 1000;

LRESULT CALLBACK StateViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Sizes, places and shapes the panel, and shows or hides it by the main window's StateView flag.
void LayoutStateViewWindow(HWND main, HWND stateView);

// What the panel reads and runs beyond the runtime record. Tests install their own; the calls come from the
// UI thread, except CheckAdapter.
class IStateViewServices {
public:
    virtual ~IStateViewServices() = default;
    // The adapter's address check and repair; may wait seconds on netsh. Runs on a worker thread, one
    // at a time.
    virtual void CheckAdapter() = 0;
    virtual RndisAdapterInfo Adapter() = 0;
    // The cached HID presence result (-1 before a probe found it), and the background probe.
    virtual int32_t HidPresence() = 0;
    virtual bool IsHidProbeRunning() = 0;
    virtual void StartHidProbe() = 0;
    // The transfer model's tick: its status line while a transfer is shown, else empty.
    virtual std::string TransferTick() = 0;
    virtual MacHealthEntry MacHealth() = 0;
    virtual uint32_t NowMs() = 0;
};
// Null: the program's own.
void SetStateViewServices(IStateViewServices* services);
