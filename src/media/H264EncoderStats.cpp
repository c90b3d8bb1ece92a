#include "media/H264EncoderStats.h"

#include <cstdio>

void H264EncoderStats::Restart(uint32_t now) {
    // The frame number and the frame-line gap run across windows.
    H264EncoderStats next;
    next.m_frameNumber = m_frameNumber;
    next.m_frameLineWritten = m_frameLineWritten;
    next.m_lastFrameLine = m_lastFrameLine;
    next.m_windowStart = now;
    *this = next;
}

bool H264EncoderStats::Record(const EncodedFrameRecord& frame, uint32_t now, bool mediaDebug) {
    ++m_frameNumber;
    ++m_framesIn;
    if (!frame.ok) {
        ++m_failed;
    }
    if (frame.gotOutput && frame.bytes > 0) {
        ++m_framesWithOutput;
        m_bytes += frame.bytes;
        m_idr += frame.nal.idr ? 1 : 0;
        m_sps += frame.nal.sps ? 1 : 0;
        m_pps += frame.nal.pps ? 1 : 0;
    }
    m_encodeMsTotal += frame.encodeMs;
    if (frame.encodeMs > m_encodeMsMax) {
        m_encodeMsMax = frame.encodeMs;
    }

    bool write = !frame.ok;
    if (!write && mediaDebug && (frame.nal.idr || frame.encodeMs >= kSlowFrameMs)) {
        write = !m_frameLineWritten || now - m_lastFrameLine >= kFrameLineGapMs;
    }
    if (write) {
        m_frameLineWritten = true;
        m_lastFrameLine = now;
    }
    return write;
}

std::string H264EncoderStats::FrameLine(const char* path, const EncodedFrameRecord& frame,
                                        const H264EncoderSettings& s, int64_t sampleTime100ns) const {
    char line[512];
    std::snprintf(line, sizeof line,
                  "[VIDEO][ENC][FRAME] path=%s frame=%lu ok=%d got=%d bytes=%lu idr=%d sps=%d pps=%d "
                  "encode_ms=%lu target=%dx%d fps=%d bitrate=%d gop=%d rt_100ns=%lld",
                  path, static_cast<unsigned long>(m_frameNumber), frame.ok ? 1 : 0, frame.gotOutput ? 1 : 0,
                  static_cast<unsigned long>(frame.bytes), frame.nal.idr ? 1 : 0, frame.nal.sps ? 1 : 0,
                  frame.nal.pps ? 1 : 0, static_cast<unsigned long>(frame.encodeMs), s.width, s.height, s.fps,
                  s.bitrate, s.gop, static_cast<long long>(sampleTime100ns));
    return line;
}

std::string H264EncoderStats::TakeWindowLine(const char* path, const H264EncoderSettings& s, uint32_t now) {
    const uint32_t elapsed = now - m_windowStart;
    if (elapsed < kWindowMs) {
        return {};
    }
    const double seconds = elapsed / 1000.0;
    const double withOutput = m_framesWithOutput > 0 ? m_framesWithOutput : 1;
    const double framesIn = m_framesIn > 0 ? m_framesIn : 1;
    char line[640];
    std::snprintf(line, sizeof line,
                  "[VIDEO][ENC][STAT] path=%s size=%dx%d target_fps=%d input_fps=%.1f output_fps=%.1f "
                  "target_bitrate=%d actual_kbps=%.0f avg_frame_bytes=%.0f idr=%lu sps=%lu pps=%lu fail=%lu "
                  "avg_encode_ms=%.2f max_encode_ms=%lu gop=%d frame_no=%lu",
                  path, s.width, s.height, s.fps, m_framesIn / seconds, m_framesWithOutput / seconds,
                  s.bitrate, static_cast<double>(m_bytes) * 8.0 / seconds / 1000.0,
                  static_cast<double>(m_bytes) / withOutput, static_cast<unsigned long>(m_idr),
                  static_cast<unsigned long>(m_sps), static_cast<unsigned long>(m_pps),
                  static_cast<unsigned long>(m_failed), static_cast<double>(m_encodeMsTotal) / framesIn,
                  static_cast<unsigned long>(m_encodeMsMax), s.gop,
                  static_cast<unsigned long>(m_frameNumber));
    Restart(now);
    return line;
}
