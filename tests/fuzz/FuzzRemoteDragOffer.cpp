// The controller's reading of a remote drag offer from the peer:
// - any bytes parse without harm, and an accepted offer names at least one path;
// - what is accepted builds back to a text that parses to the same offer, so no field is misread.
#include <cstdint>
#include <string_view>

#include "FuzzChecks.h"
#include "dragdrop/RemoteDragOfferText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RemoteDragOfferText::Fields offer;
    if (!RemoteDragOfferText::Parse(text, offer))
        return 0;
    FuzzCheck(offer.count >= 1, "accepted an offer of no paths");
    FuzzCheck(offer.detail.size() + offer.httpPayload.size() <= size, "texts longer than the input");
    RemoteDragOfferText::Fields again;
    FuzzCheck(RemoteDragOfferText::Parse(RemoteDragOfferText::Build(offer), again), "rebuilt offer refused");
    FuzzCheck(again.id == offer.id && again.count == offer.count && again.bytes == offer.bytes &&
                  again.folder == offer.folder && again.detail == offer.detail &&
                  again.httpPayload == offer.httpPayload,
              "rebuilt offer reads differently");
    return 0;
}
