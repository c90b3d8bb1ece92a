#pragma once

#include <windows.h>
#include <mfobjects.h>

#include <string>

// Log texts for Media Foundation media types.

// "H264", "RGB32", "ARGB32", "NV12", "YUY2", else the GUID in braced registry form.
std::string MediaSubtypeName(const GUID& subtype);

// Logs the colour line of a decoder media type (subtype, frame size, nominal range, YUV matrix, primaries,
// transfer function); attributes the type does not carry, or a null type, show as 0xFFFFFFFF.
void LogDecoderColorType(const char* tag, IMFMediaType* type);
