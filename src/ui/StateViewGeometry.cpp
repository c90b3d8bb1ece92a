#include "ui/StateViewGeometry.h"

#include <algorithm>

namespace {

// The client size less the margins, or the whole client size when that leaves nothing.
int32_t ShrinkToClient(int32_t client) {
    return client < 17 ? client : client - 16;
}

} // namespace

StateViewRect LayoutStateViewRect(int32_t clientWidth, int32_t clientHeight) {
    StateViewRect r;
    r.width = std::min(clientWidth / 3, 460);
    if (r.width < 340)
        r.width = clientWidth >= 357 ? 340 : ShrinkToClient(clientWidth);
    r.height = std::min(456, ShrinkToClient(clientHeight));
    r.x = std::max(0, clientWidth - r.width - 8);
    r.y = 8;
    return r;
}
