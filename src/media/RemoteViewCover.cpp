#include "media/RemoteViewCover.h"

#include <atomic>

namespace {
std::atomic<IRemoteViewCover*> g_cover{nullptr};
} // namespace

void SetRemoteViewCover(IRemoteViewCover* cover) {
    g_cover.store(cover);
}

IRemoteViewCover* RemoteViewCover() {
    return g_cover.load();
}
