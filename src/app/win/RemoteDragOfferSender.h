#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "dragdrop/RemoteDragOfferText.h"
#include "dragdrop/win/RemoteDragControlled.h"

// The controlled side's offer to the controller: the HTTP transfer of the paths, served at the clipboard
// channel's local address, announced as CB_DRAG_PAYLOAD. Offer ids count from 1 per sender (one per process).
class RemoteDragOfferSender final : public IRemoteDragOfferSender {
public:
    void SendOffer(const std::vector<std::wstring>& paths, uint64_t bytes, bool folder,
                   const std::string& detailUtf8) override;

private:
    static bool Send(const RemoteDragOfferText::Fields& offer);

    std::atomic<uint64_t> m_counter{0};
};
