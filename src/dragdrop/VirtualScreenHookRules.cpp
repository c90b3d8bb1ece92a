#include "dragdrop/VirtualScreenHookRules.h"

#include "dragdrop/VirtualScreenPackets.h"

namespace {

bool IsButtonUp(uint32_t message) {
    return message == HookMessage::kLButtonUp || message == HookMessage::kRButtonUp ||
           message == HookMessage::kMButtonUp;
}

HookAction OnPeer(const HookFacts& f) {
    if (f.injected || f.message < HookMessage::kMouseMove || f.message > HookMessage::kMouseHWheel)
        return HookAction::PassOn;
    if (f.message == HookMessage::kMouseMove)
        return HookAction::PinAndSwallow;
    int32_t button = 0;
    bool down = false;
    if (HookButtonOf(f.message, button, down))
        return HookAction::ForwardButton;
    if (f.message == HookMessage::kMouseWheel || f.message == HookMessage::kMouseHWheel)
        return HookAction::ForwardWheel;
    return HookAction::PassOn;
}

HookAction OnPeerDuringFileDrag(const HookFacts& f) {
    if (f.message == HookMessage::kMouseMove)
        return f.injected ? HookAction::PassOn : HookAction::PinAndPass;
    return IsButtonUp(f.message) ? HookAction::EndLocalDrag : HookAction::PassOn;
}

HookAction Local(const HookFacts& f) {
    if (f.injected)
        return HookAction::PassOn;
    if (f.dragOutPending && f.offerHeld && f.message == HookMessage::kLButtonUp)
        return HookAction::PostDragOutDrop;
    if (f.message != HookMessage::kMouseMove || f.anyButtonDown || f.overMainWindow || !f.atCrossingEdge ||
        !f.lastPointValid)
        return HookAction::PassOn;
    const int32_t dx = f.point.x - f.lastPoint.x;
    const int32_t dy = f.point.y - f.lastPoint.y;
    return IsOutwardMotion(f.mode, dx, dy) ? HookAction::EnterAtEdge : HookAction::PassOn;
}

} // namespace

HookAction DecideHookAction(const HookFacts& f) {
    if (f.mode == kVirtualScreenOff)
        return HookAction::PassOn;
    if (f.active) {
        if (!f.inputReady)
            return HookAction::LeaveInputLost;
        if (f.oleDragOverEdge || f.localFileDrag)
            return OnPeerDuringFileDrag(f);
        return OnPeer(f);
    }
    return Local(f);
}

bool TrackLeftButton(bool trackedDown, uint32_t message, bool injected) {
    if (injected)
        return trackedDown;
    if (message == HookMessage::kLButtonDown || message == HookMessage::kLButtonDblClk)
        return true;
    if (message == HookMessage::kLButtonUp)
        return false;
    return trackedDown;
}
