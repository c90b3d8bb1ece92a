#include "dragdrop/LocalSelectionCache.h"

LocalSelectionCache::Fill LocalSelectionCache::BeginFill(uint64_t gestureId, ScreenPoint start) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_paths.clear();
    m_tick = 0;
    m_gestureId = 0;
    m_start = start;
    m_fillRunning = true;
    return {++m_generation, gestureId, start};
}

SelectionStore LocalSelectionCache::FinishFill(const Fill& fill, std::vector<std::u16string> paths,
                                               uint32_t now) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (fill.generation != m_generation)
        return SelectionStore::Stale;
    m_fillRunning = false;
    if (paths.empty())
        return SelectionStore::Miss;
    m_paths = std::move(paths);
    m_tick = now != 0 ? now : 1; // 0 means empty
    m_gestureId = fill.gestureId;
    m_start = fill.start;
    return SelectionStore::Stored;
}

SelectionTake LocalSelectionCache::Take(uint64_t gestureId, uint32_t now, std::vector<std::u16string>& paths,
                                        uint32_t& ageMs, ScreenPoint& start) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    paths.clear();
    ageMs = 0;
    if (m_paths.empty() || m_tick == 0 || m_gestureId != gestureId)
        return SelectionTake::Empty;
    ageMs = now - m_tick;
    start = m_start;
    if (ageMs > kLocalSelectionMaxAgeMs)
        return SelectionTake::Stale;
    paths = m_paths;
    return SelectionTake::Hit;
}

void LocalSelectionCache::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_paths.clear();
    ++m_generation;
    m_tick = 0;
    m_gestureId = 0;
    m_start = {};
    m_fillRunning = false;
}

bool LocalSelectionCache::IsFillRunning() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_fillRunning;
}

bool LocalSelectionCache::IsEmpty() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_paths.empty() || m_tick == 0;
}

size_t LocalSelectionCache::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_paths.size();
}
