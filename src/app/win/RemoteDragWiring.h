#pragma once

#include <cstdint>

// The remote drag (dragging the peer's files out of RemoteView) joined to the transfer, input and window
// services it uses; called once at start-up.
void ConnectRemoteDragServices();

// Input injection on the controlled PC: before (never blocks) and after a packet was injected.
bool RemoteDragTakeoverInput(uint32_t type, int32_t data1, int32_t data2);
void RemoteDragObserveInput(uint32_t type, int32_t data1, int32_t data2);
