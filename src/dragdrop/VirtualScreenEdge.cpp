#include "dragdrop/VirtualScreenEdge.h"

#include <atomic>

namespace {
IVirtualScreenEdge g_off;
std::atomic<IVirtualScreenEdge*> g_edge{nullptr};
} // namespace

void SetVirtualScreenEdge(IVirtualScreenEdge* edge) {
    g_edge.store(edge);
}

IVirtualScreenEdge& VirtualScreenEdge() {
    IVirtualScreenEdge* edge = g_edge.load();
    return edge != nullptr ? *edge : g_off;
}

EdgeDropDecision DecideEdgeDrop(int32_t mode, bool atEdge) {
    if (mode == 0)
        return EdgeDropDecision::SkipModeOff;
    return atEdge ? EdgeDropDecision::DropToRemote : EdgeDropDecision::SkipNotEdge;
}
