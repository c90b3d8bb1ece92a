#include "dragdrop/RemoteDragSlot.h"

namespace {
constexpr int32_t kRoleController = 1;
} // namespace

void RemoteDragSlot::Hold(uint64_t dragId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = {true, false, dragId};
}

void RemoteDragSlot::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = {};
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

RemoteDragSlot& RemoteDragSlot::Instance() {
    static RemoteDragSlot slot;
    return slot;
}
