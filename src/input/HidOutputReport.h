#pragma once

#include <cstdint>

#include "input/HidCableFrame.h"

// One output report: byte 0 is report id 0, the frame follows from byte 1, zeros fill the rest up to the
// device's OutputReportByteLength, which is also the number of bytes written.

enum class HidReportFit { Fits, LongerThanBuffer, ShorterThanFrame };

// Whether a device's report length can carry the frame in a buffer of bufferSize bytes.
HidReportFit CheckOutputReportLength(uint32_t deviceLength, uint32_t bufferSize, const HidCableFrame& frame);

// Fills report[0 .. length) (length was checked to fit).
void AssembleOutputReport(uint8_t* report, uint32_t length, const HidCableFrame& frame);
