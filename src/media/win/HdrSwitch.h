#pragma once

// The HDR framework switch: the environment variable "TSLY_ENABLE_HDR" marks the stream as coming from an
// HDR desktop (HDR flags bit 1) and enables extra colour log lines. It never changes a pixel.
bool IsHdrFrameworkEnabled();
