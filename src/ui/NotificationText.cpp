#include "ui/NotificationText.h"

#include <limits>

BalloonRequest BalloonFromNotification(std::string_view text, int64_t value1, int64_t value2) {
    constexpr int64_t kMax = std::numeric_limits<uint32_t>::max();
    BalloonRequest r;
    size_t newline = text.find('\n');
    r.body = std::string(newline == std::string_view::npos ? text : text.substr(newline + 1));
    r.infoFlags = value1 < 0 || value1 > kMax ? 0u : static_cast<uint32_t>(value1);
    if (value2 <= 0)
        r.timeoutMs = kDefaultBalloonTimeoutMs;
    else
        r.timeoutMs = value2 > kMax ? static_cast<uint32_t>(kMax) : static_cast<uint32_t>(value2);
    return r;
}
