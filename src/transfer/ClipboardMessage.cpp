#include "transfer/ClipboardMessage.h"

#include <cstring>

#include "core/LittleEndian.h"

namespace {

const char* const kTypeNames[] = {
    "CB_HELLO",      "CB_TEXT",         "CB_IMAGE",           "CB_FILE_BEGIN",     "CB_FILE_DATA",
    "CB_FILE_END",   "CB_FILE_LIST",    "CB_TRANSFER_STATUS", "CB_TRANSFER_BEGIN", "CB_CANCEL",
    "CB_FILE_OFFER", "CB_FILE_REQUEST", "CB_HTTP_BEGIN",      "CB_DRAG_PAYLOAD",   "CB_CLEAR_CLIPBOARD"};

} // namespace

bool IsKnownClipboardMessageType(uint32_t type) {
    return type >= 1 && type <= sizeof kTypeNames / sizeof kTypeNames[0];
}

const char* ClipboardMessageTypeName(uint32_t type) {
    return IsKnownClipboardMessageType(type) ? kTypeNames[type - 1] : "";
}

void EncodeClipboardHeader(const ClipboardMessageHeader& header, uint8_t* out) {
    std::memcpy(out, kClipboardMagic, sizeof kClipboardMagic);
    PutLe32(out + 4, header.type);
    PutLe64(out + 8, header.id);
    PutLe64(out + 16, header.a);
    PutLe64(out + 24, header.b);
    PutLe32(out + 32, header.payloadBytes);
    PutLe32(out + 36, header.c);
}

ClipboardHeaderCheck DecodeClipboardHeader(const uint8_t* in, ClipboardMessageHeader& header,
                                           uint32_t& magic) {
    magic = GetLe32(in);
    header.type = GetLe32(in + 4);
    header.id = GetLe64(in + 8);
    header.a = GetLe64(in + 16);
    header.b = GetLe64(in + 24);
    header.payloadBytes = GetLe32(in + 32);
    header.c = GetLe32(in + 36);
    if (std::memcmp(in, kClipboardMagic, sizeof kClipboardMagic) != 0)
        return ClipboardHeaderCheck::BadMagic;
    if (header.payloadBytes > kClipboardMaxPayload)
        return ClipboardHeaderCheck::PayloadTooLarge;
    return ClipboardHeaderCheck::Ok;
}
