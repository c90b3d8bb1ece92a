#include "dragdrop/VirtualScreenLink.h"

#include <atomic>

namespace {
IVirtualScreenLink g_unready;
std::atomic<IVirtualScreenLink*> g_link{nullptr};
} // namespace

void SetVirtualScreenLink(IVirtualScreenLink* link) {
    g_link.store(link);
}

IVirtualScreenLink& VirtualScreenLink() {
    IVirtualScreenLink* link = g_link.load();
    return link != nullptr ? *link : g_unready;
}
