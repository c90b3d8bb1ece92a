#include "input/HidOutputReport.h"

#include <cstring>

HidReportFit CheckOutputReportLength(uint32_t deviceLength, uint32_t bufferSize, const HidCableFrame& frame) {
    if (deviceLength > bufferSize)
        return HidReportFit::LongerThanBuffer;
    if (deviceLength < 1 + frame.length)
        return HidReportFit::ShorterThanFrame;
    return HidReportFit::Fits;
}

void AssembleOutputReport(uint8_t* report, uint32_t length, const HidCableFrame& frame) {
    std::memset(report, 0, length);
    report[0] = 0;
    std::memcpy(report + 1, frame.bytes.data(), frame.length);
}
