#pragma once

struct RuntimeSnapshot;

// The application runs, the client session runs and this PC has the controller role: the RemoteView shows
// the peer's picture rather than black.
bool IsControllerSessionLive(const RuntimeSnapshot& snapshot);
bool IsControllerSessionLive();

// A remote drag or a drag transfer is under way with at least one item: RemoteView shows the drag cursor.
bool IsDragTransferActive(const RuntimeSnapshot& snapshot);
bool IsDragTransferActive();
