#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the drag service and RemoteView need of the virtual screen (the edge of this desktop that leads to
// the peer). The virtual screen installs itself; until then the default is mode 0 (off) and no edge.
class IVirtualScreenEdge {
public:
    virtual ~IVirtualScreenEdge() = default;
    // 0 off, 1 left, 2 right, 3 top, 4 bottom.
    virtual int32_t Mode() { return 0; }
    // The screen point lies within 32 pixels of the active edge.
    virtual bool IsPointAtEdge(int32_t x, int32_t y) {
        (void)x, (void)y;
        return false;
    }
    virtual bool DropFilesToRemote(const std::vector<std::u16string>& paths, int32_t x, int32_t y,
                                   const char* reason) {
        (void)paths, (void)x, (void)y, (void)reason;
        return false;
    }
};

// The object must live to the end of the process; null restores the default.
void SetVirtualScreenEdge(IVirtualScreenEdge* edge);
IVirtualScreenEdge& VirtualScreenEdge();

enum class EdgeDropDecision { SkipModeOff, SkipNotEdge, DropToRemote };

// A drop of local files at the virtual-screen edge goes to the peer; anything else is left alone.
EdgeDropDecision DecideEdgeDrop(int32_t mode, bool atEdge);
