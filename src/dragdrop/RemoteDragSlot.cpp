#include "dragdrop/RemoteDragSlot.h"

namespace {
constexpr int32_t kRoleController = 1;
} // namespace

void RemoteDragSlot::Hold(uint64_t dragId, uint32_t count, uint64_t bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.held = true;
    m_state.armed = false;
    m_state.dragId = dragId;
    m_state.count = count;
    m_state.bytes = bytes;
}

void RemoteDragSlot::State::Empty() {
    held = false;
    armed = false;
    dragId = 0;
    count = 0;
    bytes = 0;
    folder = false;
    detail.clear();
    httpPayload.clear();
}

void RemoteDragSlot::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.Empty();
}

RemoteDragSlot::State RemoteDragSlot::Read() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

bool RemoteDragSlot::IsHeld() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.held;
}

bool RemoteDragSlot::Arm(int32_t role, uint64_t& dragId) {
    if (role != kRoleController)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_state.held || m_state.armed)
        return false;
    m_state.armed = true;
    dragId = m_state.dragId;
    return true;
}

void RemoteDragSlot::MarkConsumed(uint64_t dragId, uint32_t tick) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.consumedDragId = dragId;
    m_state.consumedTick = tick;
}

void RemoteDragSlot::WriteMouseUpCache(const MouseUpCache& cache) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mouseUpCache = cache;
}

RemoteDragSlot::MouseUpCache RemoteDragSlot::ReadMouseUpCache() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mouseUpCache;
}

RemoteDragSlot& RemoteDragSlot::Instance() {
    static RemoteDragSlot slot;
    return slot;
}
