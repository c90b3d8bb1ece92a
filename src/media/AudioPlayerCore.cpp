#include "media/AudioPlayerCore.h"

#include <utility>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "media/AudioPacket.h"
#include "media/AudioRenderConvert.h"

namespace {

constexpr uint32_t kRefusalLogMs = 1000;

} // namespace

AudioPlayerCore::Action AudioPlayerCore::OnDatagram(const uint8_t* data, size_t size) {
    AudioDatagram datagram;
    if (ReadAudioDatagram(data, size, datagram) != AudioDatagramCheck::Ok)
        return Action::None;
    if (datagram.kind == AudioPacketKind::Format)
        return OnFormat(std::move(datagram.format));
    OnPcm(datagram.payload, datagram.payloadBytes);
    return Action::None;
}

AudioPlayerCore::Action AudioPlayerCore::OnFormat(AudioWaveFormat format) {
    // Everything below is sized from this format: a peer's out-of-range value must not reach it.
    if (const char* reason = RemoteFormatRefusal(format)) {
        if (LogThrottle::Allow("audio.player.format.refused", kRefusalLogMs))
            Log::Write(
                "[AUDIO][PLAYER] remote format refused reason=%s tag=%u ch=%u rate=%u bits=%u block=%u; "
                "ignored",
                reason, unsigned(format.formatTag), unsigned(format.channels), unsigned(format.sampleRate),
                unsigned(format.bitsPerSample), unsigned(format.blockAlign));
        return Action::None;
    }
    if (m_running && m_hasRemote && format == m_remote)
        return Action::None;
    PipelineReleased();
    m_remote = std::move(format);
    m_hasRemote = true;
    Log::Write("Audio player format changed/reconnect tag=%u ch=%u rate=%u bits=%u block=%u avg=%u cbSize=%u",
               unsigned(m_remote.formatTag), unsigned(m_remote.channels), unsigned(m_remote.sampleRate),
               unsigned(m_remote.bitsPerSample), unsigned(m_remote.blockAlign),
               unsigned(m_remote.avgBytesPerSec), unsigned(m_remote.extra.size()));
    return Action::BuildPipeline;
}

void AudioPlayerCore::OnPcm(const uint8_t* payload, size_t size) {
    if (!m_running || !m_hasRemote)
        return;
    m_converted.clear();
    const AudioConvertResult result = ConvertToRender(m_remote, m_render, payload, size, m_converted);
    if (result == AudioConvertResult::Unsupported) {
        if (LogThrottle::Allow("audio.player.unsupported.conversion", kRefusalLogMs))
            Log::Write("Audio player unsupported conversion remote tag=%u bits=%u render tag=%u bits=%u",
                       unsigned(m_remote.formatTag), unsigned(m_remote.bitsPerSample),
                       unsigned(m_render.formatTag), unsigned(m_render.bitsPerSample));
        return;
    }
    if (result != AudioConvertResult::Ok)
        return;
    m_queue.Append(m_converted.data(), m_converted.size());
    ++m_pcmQueued;
}

void AudioPlayerCore::PipelineStarted(const AudioWaveFormat& render) {
    m_render = render;
    m_running = true;
    m_queue.Configure(render.sampleRate, render.blockAlign);
}

void AudioPlayerCore::PipelineReleased() {
    m_running = false;
    m_queue.Clear();
}

AudioRenderChoice ChooseRenderFormat(const AudioWaveFormat& remote, bool remoteSupported,
                                     const std::optional<AudioWaveFormat>& mix,
                                     const std::optional<AudioWaveFormat>& closest) {
    if (remoteSupported)
        return {AudioRenderSource::Remote, remote};
    if (mix && IsConvertibleWaveFormat(*mix))
        return {AudioRenderSource::Mix, *mix};
    if (closest && IsConvertibleWaveFormat(*closest))
        return {AudioRenderSource::Fallback, *closest};
    return {};
}
