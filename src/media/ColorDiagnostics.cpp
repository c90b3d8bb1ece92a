#include "media/ColorDiagnostics.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/Log.h"
#include "media/AnnexB.h"
#include "media/Nv12Frame.h"
#include "media/SpsVui.h"
#include "media/VideoColor.h"

namespace {

// Bit 0 of a capture's HDR flags: the captured desktop is an HDR one (the frame header uses bit 1).
constexpr uint32_t kCaptureHdrFlagHdrDesktop = 0x1;

// Sample positions spread over [0, extent): at most limit of them, the first at 0.
std::vector<size_t> SamplePositions(size_t extent, size_t limit) {
    const size_t count = std::min(extent, limit);
    std::vector<size_t> positions(count);
    for (size_t i = 0; i < count; ++i) {
        positions[i] = i * extent / count;
    }
    return positions;
}

struct Channel {
    uint64_t sum = 0;
    uint32_t min = 255;
    uint32_t max = 0;
    void Add(uint32_t v) {
        sum += v;
        min = std::min(min, v);
        max = std::max(max, v);
    }
};

} // namespace

bool MeasureBgra(const uint8_t* pixels, int32_t width, int32_t height, size_t stride, BgraStats& stats) {
    if (pixels == nullptr || width < 1 || height < 1) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const size_t step = stride == 0 ? rowBytes : stride;
    if (step < rowBytes) {
        return false;
    }
    const std::vector<size_t> xs = SamplePositions(static_cast<size_t>(width), kStatsColumns);
    const std::vector<size_t> ys = SamplePositions(static_cast<size_t>(height), kStatsRows);
    Channel channels[3];
    for (size_t y : ys) {
        const uint8_t* row = pixels + y * step;
        for (size_t x : xs) {
            for (int c = 0; c < 3; ++c) {
                channels[c].Add(row[x * 4 + static_cast<size_t>(c)]);
            }
        }
    }
    const uint64_t samples = static_cast<uint64_t>(xs.size()) * ys.size();
    stats.columns = xs.size();
    stats.rows = ys.size();
    for (int c = 0; c < 3; ++c) {
        stats.avg[c] = static_cast<uint32_t>(channels[c].sum / samples);
        stats.min[c] = channels[c].min;
        stats.max[c] = channels[c].max;
    }
    return true;
}

bool MeasureNv12(const uint8_t* yPlane, int32_t width, int32_t height, int32_t yPitch, int32_t uvPitch,
                 Nv12Stats& stats) {
    if (yPlane == nullptr || width < 2 || height < 2) {
        return false;
    }
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    size_t yStep = 0;
    size_t uvStep = 0;
    if (!Nv12RowSteps(w, yPitch, uvPitch, yStep, uvStep)) {
        return false;
    }
    const uint8_t* uvPlane = yPlane + yStep * h;
    const std::vector<size_t> xs = SamplePositions(w, kStatsColumns);
    const std::vector<size_t> ys = SamplePositions(h, kStatsRows);
    Channel luma;
    Channel chroma[2];
    stats = Nv12Stats{};
    for (size_t y : ys) {
        const uint8_t* row = yPlane + y * yStep;
        const uint8_t* uvRow = uvPlane + std::min(y / 2, h / 2 - 1) * uvStep;
        for (size_t x : xs) {
            const uint32_t v = row[x];
            luma.Add(v);
            stats.yBelow16 += v < 16 ? 1 : 0;
            stats.yAbove235 += v > 235 ? 1 : 0;
            const size_t pair = std::min(x / 2, w / 2 - 1) * 2;
            chroma[0].Add(uvRow[pair]);
            chroma[1].Add(uvRow[pair + 1]);
        }
    }
    const uint64_t samples = static_cast<uint64_t>(xs.size()) * ys.size();
    stats.columns = xs.size();
    stats.rows = ys.size();
    stats.avgY = static_cast<uint32_t>(luma.sum / samples);
    stats.minY = luma.min;
    stats.maxY = luma.max;
    for (int c = 0; c < 2; ++c) {
        stats.avgUV[c] = static_cast<uint32_t>(chroma[c].sum / samples);
        stats.minUV[c] = chroma[c].min;
        stats.maxUV[c] = chroma[c].max;
    }
    return true;
}

std::string FormatBgraStats(const char* label, const BgraStats& s, int32_t width, int32_t height,
                            size_t stride) {
    char line[512];
    std::snprintf(
        line, sizeof line,
        "%s BGRA sample=%zux%zu avgBGR=%u,%u,%u minBGR=%u,%u,%u maxBGR=%u,%u,%u src=%dx%d stride=%zu", label,
        s.columns, s.rows, s.avg[0], s.avg[1], s.avg[2], s.min[0], s.min[1], s.min[2], s.max[0], s.max[1],
        s.max[2], width, height, stride);
    return line;
}

std::string FormatNv12Stats(const char* label, Nv12StatsSource source, const Nv12Stats& s, int32_t width,
                            int32_t height, int32_t yPitch, int32_t uvPitch) {
    const char* expectation = "expectedRange=full expectedMatrix=BT709";
    const char* kind = "NV12 input";
    const char* sizeName = "size";
    if (source == Nv12StatsSource::Capture) {
        expectation = "rangeExpected=full matrixExpected=BT709";
        kind = "NV12";
    } else if (source == Nv12StatsSource::Renderer) {
        expectation = "shaderMatrix=BT709 shaderRange=full swapchain=BGRA8_SDR";
        kind = "NV12 decoded";
        sizeName = "coded";
    }
    char line[640];
    std::snprintf(line, sizeof line,
                  "%s %s sampleY=%zux%zu avgY=%u minY=%u maxY=%u yBelow16=%llu yAbove235=%llu avgUV=%u,%u "
                  "minUV=%u,%u maxUV=%u,%u %s=%dx%d pitch=%d/%d %s",
                  label, kind, s.columns, s.rows, s.avgY, s.minY, s.maxY,
                  static_cast<unsigned long long>(s.yBelow16), static_cast<unsigned long long>(s.yAbove235),
                  s.avgUV[0], s.avgUV[1], s.minUV[0], s.minUV[1], s.maxUV[0], s.maxUV[1], sizeName, width,
                  height, yPitch, uvPitch, expectation);
    return line;
}

void LogBgraStats(const char* label, const uint8_t* pixels, int32_t width, int32_t height, size_t stride) {
    BgraStats stats;
    if (MeasureBgra(pixels, width, height, stride, stats)) {
        Log::Write("%s", FormatBgraStats(label, stats, width, height, stride).c_str());
    }
}

void LogNv12Stats(const char* label, Nv12StatsSource source, const uint8_t* yPlane, int32_t width,
                  int32_t height, int32_t yPitch, int32_t uvPitch) {
    Nv12Stats stats;
    if (MeasureNv12(yPlane, width, height, yPitch, uvPitch, stats)) {
        Log::Write("%s", FormatNv12Stats(label, source, stats, width, height, yPitch, uvPitch).c_str());
    }
}

std::string SpsColorCheckLine(const uint8_t* parameterSets, size_t size) {
    char line[512];
    const std::vector<uint8_t> payload = FirstNalPayload(parameterSets, size, kNalSps);
    if (payload.empty()) {
        std::snprintf(line, sizeof line, "[COLOR][H264][SPS] no SPS payload found for VUI parse bytes=%lu",
                      static_cast<unsigned long>(size));
        return line;
    }
    const std::vector<uint8_t> rbsp = RemoveEmulationPrevention(payload.data(), payload.size());
    if (rbsp.empty()) {
        return "[COLOR][H264][SPS] empty RBSP";
    }
    const std::optional<SpsColorInfo> sps = ParseSpsColor(rbsp.data(), rbsp.size());
    if (!sps) {
        std::snprintf(line, sizeof line, "[COLOR][H264][SPS] parse failed at header rbsp=%lu",
                      static_cast<unsigned long>(rbsp.size()));
        return line;
    }
    std::snprintf(line, sizeof line,
                  "[COLOR][H264][SPS-VUI] profile=%u level=%u sps=%u codedMbs=%ux%u vui=%u "
                  "video_full_range_flag=%d colour_primaries=%d transfer_characteristics=%d "
                  "matrix_coefficients=%d expected_full_range=1 expected_cp/tc/matrix=1/1/1(BT709)",
                  sps->profileIdc, sps->levelIdc, sps->spsId, sps->widthMbs, sps->heightMbs,
                  sps->vuiPresent ? 1u : 0u, sps->videoFullRange, sps->colourPrimaries,
                  sps->transferCharacteristics, sps->matrixCoefficients);
    return line;
}

void LogSpsColorCheck(const uint8_t* parameterSets, size_t size) {
    Log::Write("%s", SpsColorCheckLine(parameterSets, size).c_str());
}

CaptureColorDescription DescribeCaptureColor(bool hdrSwitchOn, bool windowsHdr) {
    CaptureColorDescription d;
    d.hdrFlags = kVideoHdrFlagsBase;
    if (hdrSwitchOn && windowsHdr) {
        d.colorMode = static_cast<uint32_t>(VideoColorMode::Hdr10Bt2020P010);
        d.transfer = static_cast<uint32_t>(VideoTransfer::St2084Pq);
        d.bitDepth = 10;
        d.hdrFlags |= kCaptureHdrFlagHdrDesktop;
    }
    return d;
}

uint32_t VideoHeaderHdrFlags(bool hdrSwitchOn) {
    return kVideoHdrFlagsBase | (hdrSwitchOn ? kVideoHdrFlagHdrDesktop : 0);
}
