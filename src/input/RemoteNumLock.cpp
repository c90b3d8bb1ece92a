#include "input/RemoteNumLock.h"

#include "input/InputPacket.h"

RemoteNumLockAction DecideRemoteNumLock(int32_t packetFlags, bool down, bool currentOn) {
    if ((packetFlags & KeyPacketFlags::kNumLockValid) == 0)
        return RemoteNumLockAction::FallThrough;
    if ((packetFlags & KeyPacketFlags::kNumLockTap) != 0)
        return down ? RemoteNumLockAction::Tap : RemoteNumLockAction::TapConsumeUp;
    if (!down)
        return RemoteNumLockAction::SyncConsumeUp;
    const bool wantOn = (packetFlags & KeyPacketFlags::kNumLockWantOn) != 0;
    return wantOn != currentOn ? RemoteNumLockAction::SyncToggle : RemoteNumLockAction::SyncAlreadyMatched;
}
