#include "media/win/MediaTypeLog.h"

#include <mfapi.h>

#include <cstring>

#include "core/Log.h"
#include "media/DecoderLogText.h"

std::string MediaSubtypeName(const GUID& subtype) {
    MediaSubtypeGuid parts;
    parts.data1 = subtype.Data1;
    parts.data2 = subtype.Data2;
    parts.data3 = subtype.Data3;
    std::memcpy(parts.data4, subtype.Data4, sizeof parts.data4);
    return MediaSubtypeText(parts);
}

void LogDecoderColorType(const char* tag, IMFMediaType* type) {
    DecoderColorType values;
    GUID subtype = GUID_NULL;
    if (type != nullptr) {
        type->GetGUID(MF_MT_SUBTYPE, &subtype);
        UINT32 width = 0;
        UINT32 height = 0;
        if (SUCCEEDED(MFGetAttributeSize(type, MF_MT_FRAME_SIZE, &width, &height))) {
            values.width = width;
            values.height = height;
        }
        values.nominalRange = MFGetAttributeUINT32(type, MF_MT_VIDEO_NOMINAL_RANGE, kUnsetValue);
        values.yuvMatrix = MFGetAttributeUINT32(type, MF_MT_YUV_MATRIX, kUnsetValue);
        values.primaries = MFGetAttributeUINT32(type, MF_MT_VIDEO_PRIMARIES, kUnsetValue);
        values.transferFunction = MFGetAttributeUINT32(type, MF_MT_TRANSFER_FUNCTION, kUnsetValue);
    }
    values.subtype = MediaSubtypeName(subtype);
    Log::Write("%s", FormatDecoderColorType(tag, values).c_str());
}
