#pragma once

// The start-with-Windows preference (HKCU "Software\Marlo\Settings" value "StartWithWindows"). UI thread
// only.

// The cached value while it is under 60 s old, else a fresh read.
bool GetStartWithWindows(bool forceReload);
// Writes the value and, once written, removes the old "Tessaly" Run entry; true when the value was written.
// A successful write is cached.
bool SetStartWithWindows(bool enable);
