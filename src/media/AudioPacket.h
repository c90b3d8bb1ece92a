#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/AudioWaveFormat.h"

// Remote sound: the controlled PC sends what its default playback device plays to the controller as UDP
// datagrams on the audio port. Every datagram starts with a 32-byte little-endian AudioPacketHeader. A FORMAT
// datagram carries the stream format as a WAVEFORMATEX (18 bytes plus its extra bytes) and is repeated every
// second; a PCM datagram carries at most 10 ms of interleaved signed 16-bit little-endian stereo frames.
//
// Header layout: offset: field. 0 magic "TSLO"; 4 u16 kind (1 FORMAT, 2 PCM); 6 u16 header size (32); 8 u32
// sequence (0 in FORMAT, PCM counts up from 1 per sender run); 12 u32 payload bytes; 16 u32 sample rate;
// 20 u16 channels (2); 22 u16 bits per sample (16); 24 u16 format tag (1); 26 u16 block align (4); 28 u32
// average bytes per second (rate x 4).

inline constexpr size_t kAudioHeaderBytes = 32;
inline constexpr uint8_t kAudioMagic[4] = {'T', 'S', 'L', 'O'};
// The player's receive buffer: a sender never builds a larger datagram.
inline constexpr size_t kAudioMaxDatagramBytes = 15000;
inline constexpr uint32_t kAudioPacketMs = 10;
// The stream rate when the capture device's mix format gives none.
inline constexpr uint32_t kAudioDefaultRate = 48000;
inline constexpr uint16_t kAudioStreamChannels = 2;
inline constexpr uint16_t kAudioStreamBits = 16;
inline constexpr uint16_t kAudioStreamBlockAlign = 4;

enum class AudioPacketKind : uint16_t {
    Format = 1,
    Pcm = 2,
};

struct AudioPacketHeader {
    uint8_t magic[4] = {kAudioMagic[0], kAudioMagic[1], kAudioMagic[2], kAudioMagic[3]};
    uint16_t kind = 0;
    uint16_t headerSize = kAudioHeaderBytes;
    uint32_t sequence = 0;
    uint32_t payloadBytes = 0;
    uint32_t sampleRate = 0;
    uint16_t channels = kAudioStreamChannels;
    uint16_t bitsPerSample = kAudioStreamBits;
    uint16_t formatTag = kWaveFormatPcm;
    uint16_t blockAlign = kAudioStreamBlockAlign;
    uint32_t avgBytesPerSec = 0;
};

// The header of a datagram of the 16-bit stereo stream at rate.
AudioPacketHeader MakeAudioPacketHeader(AudioPacketKind kind, uint32_t sequence, uint32_t payloadBytes,
                                        uint32_t rate);
void PackAudioPacketHeader(const AudioPacketHeader& header, uint8_t* out);
AudioPacketHeader ParseAudioPacketHeader(const uint8_t* bytes);

// The stream format: 16-bit stereo PCM at the mix format's rate (kAudioDefaultRate for a rate of 0).
AudioWaveFormat MakeAudioStreamFormat(uint32_t mixRate);

// The whole FORMAT datagram of the stream at rate.
std::vector<uint8_t> BuildAudioFormatDatagram(uint32_t rate);

// Frames in one PCM datagram at rate: rate/100 (10 ms), at least 1, and never more than a datagram of
// kAudioMaxDatagramBytes holds, so a receiver never sees one truncated.
uint32_t AudioFramesPerPacket(uint32_t rate);

// What a received datagram is. Ignored: shorter than the header, another magic, header size or kind.
// BadPayload: a known kind whose payload does not hold together (payload bytes beyond the datagram, an empty
// PCM payload, a FORMAT payload under 18 bytes or one whose extra bytes reach beyond it).
enum class AudioDatagramCheck {
    Ok,
    Ignored,
    BadPayload,
};

struct AudioDatagram {
    AudioPacketHeader header;
    AudioPacketKind kind = AudioPacketKind::Pcm;
    const uint8_t* payload = nullptr; // inside the datagram
    size_t payloadBytes = 0;
    AudioWaveFormat format; // FORMAT only
};

AudioDatagramCheck ReadAudioDatagram(const uint8_t* data, size_t size, AudioDatagram& out);
