// The frame reader over a view that holds only what the input gives: a 128-byte header, then whatever
// bytes follow as buffer 0. Whatever the descriptors claim, the reader stays inside the view, and what it
// delivers is the target size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "service/SecureFrameRead.h"

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first bytes choose the reader's clock, target size and last sequence; the rest is the view.
    constexpr size_t kControl = 8 + 2 + 8;
    if (size < kControl)
        return 0;
    uint64_t now = 0, lastSequence = 0;
    std::memcpy(&now, data, 8);
    const int32_t targetWidth = data[8] % 65 - 1; // -1 .. 63
    const int32_t targetHeight = data[9] % 65 - 1;
    std::memcpy(&lastSequence, data + 10, 8);
    // A mapped view is page-aligned, the input is not: a heap copy is aligned and exactly as long, so a read
    // one byte beyond it is caught.
    const std::vector<uint8_t> copy(data + kControl, data + size);
    const std::span<const uint8_t> view(copy.data(), copy.size());

    std::vector<uint8_t> raw, out;
    const uint64_t before = lastSequence;
    if (ReadSecureFrame(view, now, targetWidth, targetHeight, &lastSequence, raw, out)) {
        FuzzCheck(targetWidth >= 1 && targetHeight >= 1, "delivered without a target");
        FuzzCheck(out.size() == static_cast<size_t>(targetWidth) * static_cast<size_t>(targetHeight) * 4,
                  "output not the target size");
        FuzzCheck(lastSequence != before, "delivered the last sequence again");
        FuzzCheck(raw.size() <= view.size(), "copied more than the view holds");
    } else {
        FuzzCheck(lastSequence == before, "sequence changed without a frame");
        FuzzCheck(out.empty(), "output written without a frame");
    }
    return 0;
}
