#include "core/HResultNames.h"

#include <cstdio>

namespace {

constexpr HResultNamedCode kNames[] = {
    {0x00000000u, "S_OK"},
    {0x00000001u, "S_FALSE"},
    {0x80004003u, "E_POINTER"},
    {0x80004005u, "E_FAIL"},
    {0x80070005u, "E_ACCESSDENIED"},
    {0x8007000Eu, "E_OUTOFMEMORY"},
    {0x80070057u, "E_INVALIDARG"},
    {0x887A0001u, "DXGI_ERROR_INVALID_CALL"},
    {0x887A0002u, "DXGI_ERROR_NOT_FOUND"},
    {0x887A0004u, "DXGI_ERROR_UNSUPPORTED"},
    {0x887A0005u, "DXGI_ERROR_DEVICE_REMOVED"},
    {0x887A0006u, "DXGI_ERROR_DEVICE_HUNG"},
    {0x887A0007u, "DXGI_ERROR_DEVICE_RESET"},
    {0x887A000Au, "DXGI_ERROR_WAS_STILL_DRAWING"},
    {0x887A0020u, "DXGI_ERROR_DRIVER_INTERNAL_ERROR"},
    {0x887A0026u, "DXGI_ERROR_ACCESS_LOST"},
    {0xC00D36BDu, "MF_E_INVALIDTYPE"},
    {0xC00D36B4u, "MF_E_INVALIDMEDIATYPE"},
    {0xC00D5212u, "MF_E_TOPO_CODEC_NOT_FOUND"},
    {0xC00D6D60u, "MF_E_TRANSFORM_TYPE_NOT_SET"},
    {0xC00D6D61u, "MF_E_TRANSFORM_STREAM_CHANGE"},
    {0xC00D6D72u, "MF_E_TRANSFORM_NEED_MORE_INPUT"},
};

} // namespace

const char* HResultName(int32_t hr) {
    for (const HResultNamedCode& n : kNames)
        if (n.code == static_cast<uint32_t>(hr))
            return n.name;
    return "";
}

std::span<const HResultNamedCode> HResultNameTable() {
    return kNames;
}

void FormatHResultText(char* buffer, size_t capacity, int32_t hr, const char* systemText) {
    unsigned code = static_cast<uint32_t>(hr);
    if (systemText != nullptr && systemText[0] != '\0')
        std::snprintf(buffer, capacity, "0x%08X %s %s", code, HResultName(hr), systemText);
    else
        std::snprintf(buffer, capacity, "0x%08X %s", code, HResultName(hr));
}
