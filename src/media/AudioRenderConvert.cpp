#include "media/AudioRenderConvert.h"

#include <algorithm>
#include <cstring>

#include "core/LittleEndian.h"
#include "media/AudioSamples.h"

namespace {

// Channel c of a 16-bit source frame as a value; 0 outside the frame.
float SourceValue(const AudioWaveFormat& source, const uint8_t* frame, uint32_t c) {
    if ((c + 1) * 2u > source.blockAlign)
        return 0.0f;
    return Pcm16ToValue(static_cast<int16_t>(GetLe16(frame + c * 2u)));
}

void WriteSample(AudioSampleType type, float value, uint8_t* out) {
    switch (type) {
    case AudioSampleType::Int16:
        PutLe16(out, static_cast<uint16_t>(ScaleToIntegerSample(value, 16)));
        break;
    case AudioSampleType::Int24: {
        const uint32_t v = static_cast<uint32_t>(ScaleToIntegerSample(value, 24));
        out[0] = static_cast<uint8_t>(v);
        out[1] = static_cast<uint8_t>(v >> 8);
        out[2] = static_cast<uint8_t>(v >> 16);
        break;
    }
    case AudioSampleType::Int32:
        PutLe32(out, static_cast<uint32_t>(ScaleToIntegerSample(value, 32)));
        break;
    case AudioSampleType::Float32: {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        PutLe32(out, bits);
        break;
    }
    case AudioSampleType::None:
        break;
    }
}

} // namespace

uint64_t ResampledFrameCount(uint64_t sourceFrames, uint32_t sourceRate, uint32_t renderRate) {
    const uint64_t frames = (sourceFrames * renderRate + sourceRate / 2) / sourceRate;
    return std::max<uint64_t>(frames, 1);
}

uint64_t ResampleSourceIndex(uint64_t i, uint64_t sourceFrames, uint32_t sourceRate, uint32_t renderRate) {
    const uint64_t index = i * sourceRate / renderRate;
    return std::min(index, sourceFrames - 1);
}

AudioConvertResult ConvertToRender(const AudioWaveFormat& source, const AudioWaveFormat& render,
                                   const uint8_t* data, size_t bytes, std::vector<uint8_t>& out) {
    const AudioSampleType type = WritableSampleType(render);
    if (!IsPcm16Source(source) || type == AudioSampleType::None)
        return AudioConvertResult::Unsupported;
    const uint64_t sourceFrames = bytes / source.blockAlign;
    if (sourceFrames == 0 || data == nullptr)
        return AudioConvertResult::Empty;
    const size_t at = out.size();
    if (source.sampleRate == render.sampleRate && source.channels == render.channels &&
        type == AudioSampleType::Int16) {
        const size_t whole = static_cast<size_t>(sourceFrames) * source.blockAlign;
        out.insert(out.end(), data, data + whole);
        return AudioConvertResult::Ok;
    }
    const uint64_t frames = ResampledFrameCount(sourceFrames, source.sampleRate, render.sampleRate);
    const uint32_t sampleBytes = render.bitsPerSample / 8u;
    out.resize(at + static_cast<size_t>(frames * render.blockAlign));
    uint8_t* o = out.data() + at;
    for (uint64_t i = 0; i < frames; ++i) {
        const uint64_t index = ResampleSourceIndex(i, sourceFrames, source.sampleRate, render.sampleRate);
        const uint8_t* frame = data + index * source.blockAlign;
        const float mono = source.channels == 1
                               ? SourceValue(source, frame, 0)
                               : (SourceValue(source, frame, 0) + SourceValue(source, frame, 1)) / 2;
        for (uint32_t c = 0; c < render.channels; ++c, o += sampleBytes) {
            float value = mono;
            if (source.channels > 1 && render.channels > 1)
                value = SourceValue(source, frame, std::min<uint32_t>(c, source.channels - 1u));
            WriteSample(type, value, o);
        }
    }
    return AudioConvertResult::Ok;
}
