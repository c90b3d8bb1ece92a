#include "app/win/RemoteDragOfferSender.h"

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/win/ClipboardChannel.h"
#include "transfer/win/FileTransferService.h"

void RemoteDragOfferSender::SendOffer(const std::vector<std::wstring>& paths, uint64_t bytes, bool folder,
                                      const std::string& detailUtf8) {
    if (RuntimeGetRole() != RemoteDragSelection::kRoleControlled || paths.empty())
        return;
    RemoteDragOfferText::Fields offer;
    offer.id = m_counter.fetch_add(1) + 1;
    offer.count = static_cast<uint32_t>(paths.size());
    offer.bytes = bytes;
    offer.folder = folder;
    offer.detail = detailUtf8;
    ClipboardChannel& channel = ClipboardChannel::Instance();
    // The controller fetches the files over the channel's own link: a loopback address in the offer
    // would send it to its own HTTP server.
    const std::string host = channel.GetLocalAddress();
    uint64_t transferId = 0;
    bool ok = false;
    if (host.empty()) {
        Log::Write("[RDRAG][SEND][ERR] no local address on the clipboard channel count=%d",
                   static_cast<int>(offer.count));
    } else if (!FileTransferService::OfferViaHttp(paths, host, transferId, offer.httpPayload)) {
        Log::Write("[RDRAG][SEND][ERR] HTTP offer prepare failed count=%d", static_cast<int>(offer.count));
    } else {
        RuntimeSetRemoteDrag(true, static_cast<int32_t>(offer.count), bytes, folder ? 1 : 0, offer.id,
                             detailUtf8.c_str());
        ok = Send(offer);
    }
    Log::Write("[RDRAG][SEND] id=%llu transfer=%llu count=%d bytes=%llu folder=%d httpPayload=%u ok=%d "
               "detail=%s",
               static_cast<unsigned long long>(offer.id), static_cast<unsigned long long>(transferId),
               static_cast<int>(offer.count), static_cast<unsigned long long>(bytes), folder ? 1 : 0,
               static_cast<unsigned>(offer.httpPayload.size()), ok ? 1 : 0, detailUtf8.c_str());
}

bool RemoteDragOfferSender::Send(const RemoteDragOfferText::Fields& offer) {
    const std::string text = RemoteDragOfferText::Build(offer);
    const auto size = static_cast<uint32_t>(text.size());
    ClipboardChannel& channel = ClipboardChannel::Instance();
    const bool enabled = ConfigService::Instance().GetSnapshot().clipboardEnable != 0;
    const bool running = channel.IsRunning();
    if (!enabled || !running) {
        Log::Write("[CLIP][SERVICE][RDRAG] unavailable enabled=%d running=%d payload=%u", enabled ? 1 : 0,
                   running ? 1 : 0, size);
        return false;
    }
    StateManager::Instance().SetClipboardBusy(true, "remote-drag-offer");
    bool ok = false;
    if (!channel.IsConnected())
        Log::Write("[RDRAG][SEND][ERR] clipboard control not connected");
    else
        ok = channel.SendMessage(static_cast<uint32_t>(ClipboardMessageType::CB_DRAG_PAYLOAD), 0, 0, 0, 0,
                                 text.data(), size);
    StateManager::Instance().SetClipboardBusy(false, "remote-drag-offer");
    Log::Write("[CLIP][SERVICE][RDRAG] payload=%u ok=%d", size, ok ? 1 : 0);
    return ok;
}
