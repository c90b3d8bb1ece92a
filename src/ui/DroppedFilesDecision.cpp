#include "ui/DroppedFilesDecision.h"

DropAction DecideDroppedFiles(const DropFacts& facts) {
    if (facts.virtualScreenMode != 0 && facts.nearVirtualEdge)
        return DropAction::IgnoreVirtualEdge;
    if (!facts.clipboardEnabled)
        return DropAction::FailDisabled;
    if (!facts.appRunning)
        return DropAction::IgnoreNotRunning;
    if (facts.pathCount == 0)
        return DropAction::FailEmpty;
    if (!facts.remoteControlActive)
        return DropAction::FailNotReady;
    return DropAction::Offer;
}
