#pragma once

#include <cstdint>
#include <optional>

// The decisions of the external resize watchdog, the thread that rescues a resize stuck in the system's
// modal sizing loop (where the window's own timers do not run): once the left button has been up for a
// while, cancel messages, and later one injected Escape. It polls every 80 ms; one object per resize.
class ResizeExternalWatchdogRules {
public:
    static constexpr uint32_t kPollMs = 80;
    static constexpr uint64_t kMaxLifetimeMs = 10000;
    static constexpr uint64_t kRescueAfterUpMs = 520;
    static constexpr uint64_t kRescueGapMs = 301;
    static constexpr uint64_t kEscapeAfterUpMs = 1350;
    static constexpr uint64_t kStillActiveLogMs = 500;

    enum class Stop { None, SequenceChanged, StateLeftActive, MaxLifetime, WindowGone };

    struct Facts {
        uint64_t now = 0;
        uint32_t watchdogSequence = 0; // the state machine's current one
        uint32_t sharedState = 0;
        bool windowExists = true;
        bool leftButtonDown = false;
        bool escSent = false; // the Escape rescue was used in this resize
    };

    struct Step {
        Stop stop = Stop::None;
        bool upObserved = false; // the first poll with the button up
        bool logStillActive = false;
        bool modalRescue = false;  // unfreeze, send and post the cancel messages
        bool escapeRescue = false; // inject Escape (when this process is in the foreground); sets escSent
        uint64_t upMs = 0;
        uint64_t lastRescueAgoMs = 0; // 0 when there was none
    };

    ResizeExternalWatchdogRules(uint32_t sequence, uint64_t startTick)
        : m_sequence(sequence), m_start(startTick) {}

    Step Decide(const Facts& facts);
    uint32_t Sequence() const { return m_sequence; }

private:
    uint32_t m_sequence;
    uint64_t m_start;
    std::optional<uint64_t> m_upTick;
    std::optional<uint64_t> m_lastRescueTick;
    std::optional<uint64_t> m_stillActiveLogTick;
};
