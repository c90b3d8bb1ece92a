#pragma once

#include <cstddef>

#include "transfer/DroppedFilesOffer.h"

// The installed clipboard side of file drops. Until the clipboard service installs itself the default
// answers "channel not running", so drops are queued as pending, and it marks the state manager's
// file-transfer busy flag. The object must live to the end of the process; null restores the default.
void SetDroppedFilesChannel(IDroppedFilesChannel* channel);
IDroppedFilesChannel& DroppedFilesChannel();

// The checks before a drop is offered, in order: paths present, clipboard sharing on, remote control
// active. Logs the first that fails ("[TRANSFER][OFFER][FAIL] ...") and returns false.
bool DroppedFilesMayBeOffered(size_t count, bool clipboardEnabled, bool remoteControlActive);
