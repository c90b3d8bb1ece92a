#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/AnnexB.h"
#include "media/H264EncoderSettings.h"

// One encoded (or failed) frame, as the statistics see it.
struct EncodedFrameRecord {
    bool ok = false;
    bool gotOutput = false;
    size_t bytes = 0;
    NalPresence nal;
    uint32_t encodeMs = 0;
};

// Encoder statistics over a 10 s window, and the rules for when a frame line and a window line are
// written. Ticks are milliseconds that may wrap (GetTickCount).
class H264EncoderStats {
public:
    static constexpr uint32_t kWindowMs = 10'000;
    static constexpr uint32_t kFrameLineGapMs = 2'000;
    static constexpr uint32_t kSlowFrameMs = 20;

    // Starts a new window at now; the frame number and the frame-line gap carry over.
    void Restart(uint32_t now);

    // Counts the frame (the frame number advances) and decides whether its frame line is written: always
    // for a failed frame; for a good one only with the media debug category on, when it is an IDR frame
    // or took kSlowFrameMs or more, and no frame line was written in the last kFrameLineGapMs.
    bool Record(const EncodedFrameRecord& frame, uint32_t now, bool mediaDebug);

    std::string FrameLine(const char* path, const EncodedFrameRecord& frame, const H264EncoderSettings& s,
                          int64_t sampleTime100ns) const;

    // The window line once kWindowMs have passed since the window began, and the window restarts; an
    // empty text before that.
    std::string TakeWindowLine(const char* path, const H264EncoderSettings& s, uint32_t now);

    uint32_t FrameNumber() const { return m_frameNumber; }
    uint32_t FramesIn() const { return m_framesIn; }
    uint32_t Failures() const { return m_failed; }

private:
    uint32_t m_frameNumber = 0;
    uint32_t m_windowStart = 0;
    uint32_t m_framesIn = 0;
    uint32_t m_framesWithOutput = 0;
    uint32_t m_idr = 0;
    uint32_t m_sps = 0;
    uint32_t m_pps = 0;
    uint32_t m_failed = 0;
    uint64_t m_bytes = 0;
    uint64_t m_encodeMsTotal = 0;
    uint32_t m_encodeMsMax = 0;
    bool m_frameLineWritten = false;
    uint32_t m_lastFrameLine = 0;
};
