#pragma once

#include "core/SettingsClearTypeGuard.h"

// The system's font smoothing through SystemParametersInfoW, saved to the profile and broadcast.
class ClearTypeFontSmoothing : public IFontSmoothing {
public:
    FontSmoothingResult SetEnabled(bool enabled) override;
    FontSmoothingResult SetType(uint32_t type) override;
};
