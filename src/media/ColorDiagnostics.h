#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Pixel statistics of captured and encoded frames, and the SPS colour check: logging only, so that a range
// or matrix error between capture, encoder and renderer shows in the log. Frames are sampled on a grid of
// at most kStatsColumns x kStatsRows points spread over the picture.

inline constexpr size_t kStatsColumns = 256;
inline constexpr size_t kStatsRows = 64;

struct BgraStats {
    size_t columns = 0;
    size_t rows = 0;
    uint32_t avg[3] = {}; // B, G, R
    uint32_t min[3] = {};
    uint32_t max[3] = {};
};

struct Nv12Stats {
    size_t columns = 0;
    size_t rows = 0;
    uint32_t avgY = 0;
    uint32_t minY = 0;
    uint32_t maxY = 0;
    uint64_t yBelow16 = 0;
    uint64_t yAbove235 = 0;
    uint32_t avgUV[2] = {};
    uint32_t minUV[2] = {};
    uint32_t maxUV[2] = {};
};

// False for a null frame, a size below 1, or a stride (pitch) shorter than a row. The caller vouches that
// the buffer holds height rows at the stride (for NV12 also height / 2 U,V rows from yPitch * height on);
// a pitch of 0 or less stands for a packed row.
bool MeasureBgra(const uint8_t* pixels, int32_t width, int32_t height, size_t stride, BgraStats& stats);
bool MeasureNv12(const uint8_t* yPlane, int32_t width, int32_t height, int32_t yPitch, int32_t uvPitch,
                 Nv12Stats& stats);

// Which component logs the NV12 line: each spells the expectation its own way. The renderer's line names the
// coded size and how its shader reads the picture.
enum class Nv12StatsSource { Capture, Encoder, Renderer };

std::string FormatBgraStats(const char* label, const BgraStats& s, int32_t width, int32_t height,
                            size_t stride);
std::string FormatNv12Stats(const char* label, Nv12StatsSource source, const Nv12Stats& s, int32_t width,
                            int32_t height, int32_t yPitch, int32_t uvPitch);

// Measure and log; a frame that cannot be measured logs nothing.
void LogBgraStats(const char* label, const uint8_t* pixels, int32_t width, int32_t height, size_t stride);
void LogNv12Stats(const char* label, Nv12StatsSource source, const uint8_t* yPlane, int32_t width,
                  int32_t height, int32_t yPitch, int32_t uvPitch);

// The SPS colour line for the parameter sets the encoder cached (start codes included): the first SPS,
// emulation prevention removed, its header and VUI read. Returns the line logged.
std::string SpsColorCheckLine(const uint8_t* parameterSets, size_t size);
void LogSpsColorCheck(const uint8_t* parameterSets, size_t size);

// The colour words of a capture and of the frame header. The video path stays SDR either way; the words
// only tell the other side what the desktop was.
struct CaptureColorDescription {
    uint32_t colorMode = 0; // VideoColorMode
    uint32_t transfer = 0;  // VideoTransfer
    uint32_t bitDepth = 8;
    uint32_t hdrFlags = 0;
};

// SDR (0, 0, 8, 0x100) unless both the HDR switch and Windows HDR are on: then HDR10 (1, 1, 10) with bit 0 of
// the HDR flags set.
CaptureColorDescription DescribeCaptureColor(bool hdrSwitchOn, bool windowsHdr);
// HDR flags of the video frame header: 0x100, and 0x102 while the HDR switch is on, whatever the desktop.
uint32_t VideoHeaderHdrFlags(bool hdrSwitchOn);
