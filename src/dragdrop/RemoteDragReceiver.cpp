#include "dragdrop/RemoteDragReceiver.h"

#include <cstring>

#include "core/Log.h"
#include "dragdrop/RemoteDragOfferText.h"

namespace {

using State = RemoteDragSlot::State;
using MouseUpCache = RemoteDragSlot::MouseUpCache;

// Reasons of a cancel that the user caused by dropping local files into RemoteView mid-drag: the only
// cancels worth a notice.
bool IsLocalDropInterruption(const char* reason) {
    for (const char* word : {"local-files-dropped-into-remoteview", "recent-local-drop-into-remoteview",
                             "mouse-up-over-remoteview-local-drop", "mouse-up-without-leaving-remoteview"})
        if (std::strstr(reason, word) != nullptr)
            return true;
    return false;
}

const char* TargetText(const std::string& target) {
    return target.empty() ? "<default>" : target.c_str();
}

} // namespace

void RemoteDragReceiver::OnReceive(std::string_view payload) {
    RemoteDragOfferText::Fields offer;
    if (!RemoteDragOfferText::Parse(payload, offer)) {
        Log::Write("[RDRAG][RECV][ERR] invalid payload size=%u", static_cast<unsigned>(payload.size()));
        return;
    }
    const uint32_t now = m_ports.TickMs();
    const bool controller = m_ports.Role() == kRoleController;
    const bool leftDown = controller && m_ports.LeftButtonDown();

    struct Outcome {
        bool duplicate = false;
        uint32_t consumedAge = 0;
        bool lateDrop = false;
        uint32_t upAge = 0;
        std::string target;
    };
    const Outcome outcome = m_slot.Locked([&](State& slot, MouseUpCache& up) {
        Outcome result;
        if (slot.consumedDragId != 0 && slot.consumedDragId == offer.id &&
            now - slot.consumedTick < kConsumedDedupeMs) {
            result.duplicate = true;
            result.consumedAge = now - slot.consumedTick;
            return result;
        }
        slot.held = true;
        slot.armed = false;
        slot.dragId = offer.id;
        slot.count = offer.count;
        slot.bytes = offer.bytes;
        slot.folder = offer.folder;
        slot.detail = offer.detail;
        slot.httpPayload = offer.httpPayload;
        // The user let go outside RemoteView just before the offer arrived: that release was the drop.
        if (controller && !leftDown && up.tick != 0 && now - up.tick <= kLateDropMs && !up.treatAsRemote &&
            !up.recentLocalDrop && up.dragOutCandidate) {
            result.lateDrop = true;
            result.upAge = now - up.tick;
            result.target = up.target;
            slot.armed = true;
            up.tick = 0; // one release drops one offer
        }
        return result;
    });
    if (outcome.duplicate) {
        Log::Write("[RDRAG][RECV][IGN] duplicate consumed offer id=%llu age=%lu",
                   static_cast<unsigned long long>(offer.id),
                   static_cast<unsigned long>(outcome.consumedAge));
        return;
    }
    m_ports.SetRuntimeRemoteDrag(true, offer.count, offer.bytes, offer.folder, offer.id, offer.detail);
    if (controller)
        SwitchDragVisual(m_ports, true, "remote-drag-recv");
    Log::Write("[RDRAG][RECV] id=%llu count=%d bytes=%llu folder=%d httpPayload=%u detail=%s lateDrop=%d "
               "age=%lu",
               static_cast<unsigned long long>(offer.id), static_cast<int>(offer.count),
               static_cast<unsigned long long>(offer.bytes), offer.folder ? 1 : 0,
               static_cast<unsigned>(offer.httpPayload.size()), offer.detail.c_str(),
               outcome.lateDrop ? 1 : 0, static_cast<unsigned long>(outcome.upAge));
    if (!outcome.lateDrop)
        return;
    Log::Write("[RDRAG][LATE_DROP] accept late offer id=%llu target=%s age=%lu",
               static_cast<unsigned long long>(offer.id), TargetText(outcome.target),
               static_cast<unsigned long>(outcome.upAge));
    TriggerDownload(outcome.target);
}

bool RemoteDragReceiver::TriggerDownload(const std::string& targetUtf8) {
    if (m_ports.Role() != kRoleController)
        return false;
    const uint32_t now = m_ports.TickMs();
    struct Take {
        bool autoArmed = false;
        bool duplicate = false;
        uint64_t dragId = 0;
        std::string payload;
    };
    const Take take = m_slot.Locked([&](State& slot, MouseUpCache&) {
        Take result;
        result.dragId = slot.dragId;
        if (slot.held && !slot.armed) {
            slot.armed = true;
            result.autoArmed = true;
        }
        if (slot.dragId != 0 && slot.dragId == slot.consumedDragId &&
            now - slot.consumedTick < kConsumedDedupeMs) {
            result.duplicate = true;
            return result;
        }
        result.payload = slot.httpPayload;
        return result;
    });
    const auto dragId = static_cast<unsigned long long>(take.dragId);
    if (take.autoArmed)
        Log::Write("[RDRAG][DROP][AUTO_ARM] pending drag was not armed before mouse-up dragId=%llu", dragId);
    if (take.duplicate) {
        Log::Write("[RDRAG][DROP][IGN] duplicate trigger for consumed dragId=%llu", dragId);
        return false;
    }
    if (take.payload.empty()) {
        Log::Write("[RDRAG][DROP][ERR] no pending HTTP begin payload");
        return false;
    }

    const RemoteDragDownloadStart start = m_ports.BeginDownload(take.payload, targetUtf8);
    const int ok = start == RemoteDragDownloadStart::Started ? 1 : 0;
    Log::Write("[TRANSFER][ACCEPT] http target=%s ok=%d payload=%u", targetUtf8.c_str(), ok,
               static_cast<unsigned>(take.payload.size()));
    Log::Write("[RDRAG][DROP] trigger download dragId=%llu target=%s ok=%d", dragId, targetUtf8.c_str(), ok);
    SwitchDragVisual(m_ports, false, "remote-drag-drop");
    if (start == RemoteDragDownloadStart::Busy) {
        // Nothing was downloaded: the offer stays held and unconsumed, so a later release can still take it.
        Log::Write("[RDRAG][DROP][FAIL] receiver busy; offer kept dragId=%llu", dragId);
        return false;
    }
    m_ports.SetRuntimeRemoteDrag(false, 0, 0, false, 0, std::string());
    const uint32_t consumedAt = m_ports.TickMs();
    m_slot.Locked([&](State& slot, MouseUpCache&) {
        slot.consumedDragId = take.dragId;
        slot.consumedTick = consumedAt;
        if (slot.dragId == take.dragId) // a newer offer that arrived meanwhile stays
            slot.Empty();
    });
    return ok != 0;
}

void RemoteDragReceiver::CancelForLocalDrop(const char* reason) {
    if (m_ports.Role() != kRoleController)
        return;
    if (reason == nullptr || *reason == '\0')
        reason = "remote-drag-cancel";
    struct Held {
        bool held = false;
        uint64_t dragId = 0;
    };
    const Held held = m_slot.Locked([](State& slot, MouseUpCache&) {
        const Held result{slot.held, slot.dragId};
        slot.Empty();
        return result;
    });
    if (held.held)
        Log::Write("[RDRAG][CANCEL_LOCAL] dragId=%llu reason=%s",
                   static_cast<unsigned long long>(held.dragId), reason);
    m_ports.SetRuntimeRemoteDrag(false, 0, 0, false, 0, std::string());
    SwitchDragVisual(m_ports, false, reason);
    if (!held.held || !IsLocalDropInterruption(reason))
        return;
    const bool english = m_ports.UiEnglish();
    const std::string status = english ? "Drag: canceled by local drop" : "拖动：本地拖入，已取消远程拖出";
    m_ports.NotifyUser(status, english ? u"Remote drag canceled" : u"远程拖出已取消",
                       english ? u"Canceled: local file drop interrupted remote drag-out."
                               : u"已取消：本地文件拖入远程窗口，打断了远程拖出。");
    Log::Write("[RDRAG][UI_NOTIFY] reason=%s", reason);
    Log::Write("[RDRAG][STATE_UPDATE] %s", status.c_str());
}
