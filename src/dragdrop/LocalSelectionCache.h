#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "dragdrop/VirtualScreenGeometry.h"

// The shell selection where a local drag began, read off the UI thread and kept for that one gesture. A
// fill carries the generation and gesture id it started with: a late result for a cleared cache or a newer
// gesture is dropped. Any thread; one mutex.

inline constexpr uint32_t kLocalSelectionMaxAgeMs = 15000;

enum class SelectionStore { Stored, Miss, Stale };
enum class SelectionTake { Hit, Stale, Empty };

class LocalSelectionCache {
public:
    struct Fill {
        uint64_t generation = 0;
        uint64_t gestureId = 0;
        ScreenPoint start;
    };

    // Empties the cache, marks a fill running for gestureId at start and raises the generation.
    Fill BeginFill(uint64_t gestureId, ScreenPoint start);
    // The fill's result at tick now: stored with paths, a miss without, dropped when no longer current.
    SelectionStore FinishFill(const Fill& fill, std::vector<std::u16string> paths, uint32_t now);
    // The selection of gestureId when it is at most 15 s old; ageMs tells its age (also of a stale one).
    SelectionTake Take(uint64_t gestureId, uint32_t now, std::vector<std::u16string>& paths, uint32_t& ageMs,
                       ScreenPoint& start) const;
    // Empties the cache, raises the generation and ends any fill's claim.
    void Clear();

    bool IsFillRunning() const;
    bool IsEmpty() const;
    size_t Count() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::u16string> m_paths; // all under m_mutex
    uint32_t m_tick = 0;                 // 0: empty
    uint64_t m_gestureId = 0;
    ScreenPoint m_start;
    uint64_t m_generation = 0;
    bool m_fillRunning = false;
};
