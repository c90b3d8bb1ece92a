#include "media/DisplayFingerprint.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "media/VideoColor.h"

bool DisplayFingerprint::IsValid() const {
    return count >= 1 && primaryWidth >= 1 && primaryHeight >= 1 && virtualWidth >= 1 && virtualHeight >= 1;
}

std::string DisplayFingerprint::ToText() const {
    char head[256];
    std::snprintf(head, sizeof head,
                  "count=%d primary=%dx%d virtual=%d,%d %dx%d hdr=%d colorSpace=%u(%s) bits=%u", count,
                  primaryWidth, primaryHeight, virtualLeft, virtualTop, virtualWidth, virtualHeight, hdrState,
                  colorSpace, VideoColorSpaceName(colorSpace), bitsPerColor);
    std::string text = head;
    text += " monitors=";
    for (size_t i = 0; i < monitors.size(); ++i) {
        const DisplayMonitor& m = monitors[i];
        char entry[96];
        std::snprintf(entry, sizeof entry, "%s#%zu=%d,%d,%d,%d%s", i == 0 ? "" : ";", i, m.left, m.top,
                      m.right, m.bottom, m.primary != 0 ? "P" : "");
        text += entry;
    }
    return text;
}

void SortDisplayMonitors(std::vector<DisplayMonitor>& monitors) {
    std::stable_sort(monitors.begin(), monitors.end(), [](const DisplayMonitor& a, const DisplayMonitor& b) {
        return std::tie(a.left, a.top, a.right, a.bottom) < std::tie(b.left, b.top, b.right, b.bottom);
    });
}

bool SameDisplayLayout(const DisplayFingerprint& a, const DisplayFingerprint& b) {
    const bool sameLayout = a.count == b.count && a.primaryWidth == b.primaryWidth &&
                            a.primaryHeight == b.primaryHeight && a.virtualLeft == b.virtualLeft &&
                            a.virtualTop == b.virtualTop && a.virtualWidth == b.virtualWidth &&
                            a.virtualHeight == b.virtualHeight && a.monitors == b.monitors;
    if (!sameLayout)
        return false;
    if (a.hdrState < 0 || b.hdrState < 0)
        return true;
    return a.hdrState == b.hdrState && a.colorSpace == b.colorSpace && a.bitsPerColor == b.bitsPerColor;
}
