#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A notification event carries "title\nbody"; the tray balloon has its own fixed title and shows the body.
struct BalloonRequest {
    std::string body; // UTF-8
    uint32_t infoFlags = 0;
    uint32_t timeoutMs = 0;
};

inline constexpr uint32_t kDefaultBalloonTimeoutMs = 2000;

// The body is the text after the first '\n'. A text without '\n' is all body: a publisher that gave no
// title still has something to say, and an empty balloon would show nothing. Flags outside 0..0xFFFFFFFF
// become 0; a time-out of 0 or less becomes 2000 ms, one above 0xFFFFFFFF is capped.
BalloonRequest BalloonFromNotification(std::string_view text, int64_t value1, int64_t value2);
