#pragma once

// While the secure desktop (logon, lock screen, elevation prompt) is the input desktop, a user process
// cannot capture it; the service captures it on request and publishes the frames. The request goes
// through kSecureCaptureRequestEventName (service/WardletShared.h).

// True when the input desktop is not "Default" (case-insensitive), or when it cannot be opened or its name
// cannot be read (which is what a user process sees while the secure desktop is up).
bool IsSecureDesktopActive();

// Sets the capture-request event for the service. Logs "[SECURE_VIDEO][WORKER_REQUEST] reason=%s ok=%d
// error=%lu event=%ls", or "[SECURE_VIDEO][WORKER_REQUEST_FAIL] ..." when the event cannot be opened (the
// service is not installed or not running). Returns whether the event was set.
bool RequestSecureDesktopWorkerFrame(const char* reason);
