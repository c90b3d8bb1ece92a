#pragma once

#include <cstdint>

// The controller's input route as the windows see it: whether this PC drives a live peer, and the sends of
// mouse, wheel and keys towards it, over the TCP input channel when that path is ready or else through the
// cable's HID worker. Window handles are opaque integers (an HWND on Windows); points are client pixels.
//
// The base class answers "remote control not active" and sends nothing, so the windows work before the
// route exists; start-up installs the real route with SetRemoteInputRoute.
class IRemoteInputRoute {
public:
    virtual ~IRemoteInputRoute() = default;

    // This PC is the controller of a live peer.
    virtual bool IsRemoteControlActive() { return false; }
    // HID not forced, remote control active, the input channel connected and its channel state Connected.
    virtual bool IsTcpReady() { return false; }

    // MOUSE_MOVE to remote pixels: the normal queue, or the priority queue first when priority is set.
    virtual bool SendRemoteMouseMove(int32_t x, int32_t y, bool priority) {
        (void)x, (void)y, (void)priority;
        return false;
    }
    // A button message (WM_xBUTTONDOWN/UP/DBLCLK) seen by a window at a client point.
    virtual bool SendMouseButton(uintptr_t window, uint32_t message, int32_t clientX, int32_t clientY) {
        (void)window, (void)message, (void)clientX, (void)clientY;
        return false;
    }
    virtual bool SendMouseWheel(uintptr_t window, int32_t delta, int32_t clientX, int32_t clientY) {
        (void)window, (void)delta, (void)clientX, (void)clientY;
        return false;
    }
    // A mouse message for the HID worker, as an absolute position on the peer's screen.
    virtual bool QueueHidMouse(uintptr_t window, uint32_t message, int32_t clientX, int32_t clientY) {
        (void)window, (void)message, (void)clientX, (void)clientY;
        return false;
    }
    // A key message (WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP) of the RemoteView window.
    virtual bool SendWmKey(uint32_t message, uint32_t virtualKey, intptr_t lParam) {
        (void)message, (void)virtualKey, (void)lParam;
        return false;
    }
    // Sends the local modifier state to the peer, or releases the peer's modifiers.
    virtual bool SyncRemoteModifiers(const char* reason) {
        (void)reason;
        return false;
    }
    virtual bool ReleaseRemoteModifiers(const char* reason) {
        (void)reason;
        return false;
    }
    // A key taken by the low-level keyboard hook; only while TCP is ready.
    virtual bool SendHookKey(uint32_t virtualKey, uint32_t scanCode, uint32_t hookFlags, bool down) {
        (void)virtualKey, (void)scanCode, (void)hookFlags, (void)down;
        return false;
    }
    // A key message for the HID worker; only when the route is HID.
    virtual bool QueueHidKey(uint32_t message, uint32_t virtualKey) {
        (void)message, (void)virtualKey;
        return false;
    }
    // The route of the next event: true for HID (starting the worker and its probe), false for TCP.
    virtual bool SelectInputRoute() { return false; }
    // The virtual screen holds the cursor on the peer.
    virtual bool IsVirtualScreenInputScope() { return false; }
    // Ends a drag that the peer holds (Escape and a left release).
    virtual bool CancelRemoteDrag() { return false; }
    // Forgets the keyboard hook's record of keys it has seen go down.
    virtual void ClearHookKeyState(const char* reason) { (void)reason; }
};

// The installed route; the base class while none is installed. The object must live to the end of the
// process.
void SetRemoteInputRoute(IRemoteInputRoute* route);
IRemoteInputRoute& RemoteInputRoute();
