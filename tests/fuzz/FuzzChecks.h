#pragma once

#include <cstdio>
#include <cstdlib>

#include "link/ControlRequestParams.h"

// Stops the fuzzer on the first broken rule, naming it.
inline void FuzzCheck(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// A received control request always ends within what a sender may ask for.
inline void CheckRequestWithinSenderRules(const ControlRequestParams& r) {
    using namespace Discovery;
    FuzzCheck(r.width % 2 == 0 && r.width <= kRequestSizeMax, "width outside the rules");
    FuzzCheck(r.height % 2 == 0 && r.height <= kRequestSizeMax, "height outside the rules");
    FuzzCheck(r.fps == 0 || (r.fps >= kRequestFpsMin && r.fps <= kRequestFpsMax), "fps outside the rules");
    FuzzCheck(r.bitrate == 0 || (r.bitrate >= kRequestBitrateMin && r.bitrate <= kRequestBitrateMax),
              "bit rate outside the rules");
    FuzzCheck(r.viewHidden <= 1 && r.audio <= 1 && r.quality <= 1, "flag not 0 or 1");
}
