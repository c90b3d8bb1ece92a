#include "media/SpsVui.h"

namespace {

// MSB-first bit reader that fails, rather than reads on, at the end of its bytes.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : m_data(data), m_bits(size * 8) {}

    bool Bit(uint32_t& value) {
        if (m_pos >= m_bits) {
            return false;
        }
        value = (m_data[m_pos / 8] >> (7 - m_pos % 8)) & 1;
        ++m_pos;
        return true;
    }

    bool Bits(int count, uint32_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i) {
            uint32_t bit = 0;
            if (!Bit(bit)) {
                return false;
            }
            value = (value << 1) | bit;
        }
        return true;
    }

    bool Flag(bool& value) {
        uint32_t bit = 0;
        if (!Bit(bit)) {
            return false;
        }
        value = bit != 0;
        return true;
    }

    // Unsigned exp-Golomb; codes longer than 32 bits do not occur in a valid SPS and are refused.
    bool Ue(uint32_t& value) {
        int zeros = 0;
        uint32_t bit = 0;
        while (true) {
            if (!Bit(bit)) {
                return false;
            }
            if (bit != 0) {
                break;
            }
            if (++zeros > 31) {
                return false;
            }
        }
        uint32_t rest = 0;
        if (!Bits(zeros, rest)) {
            return false;
        }
        value = static_cast<uint32_t>((uint64_t{1} << zeros) - 1 + rest);
        return true;
    }

    bool Se(int64_t& value) {
        uint32_t code = 0;
        if (!Ue(code)) {
            return false;
        }
        value = (code & 1) ? static_cast<int64_t>((code + 1ull) / 2) : -static_cast<int64_t>(code / 2);
        return true;
    }

    bool Skip(int count) {
        uint32_t ignored = 0;
        for (int i = 0; i < count; ++i) {
            if (!Bit(ignored)) {
                return false;
            }
        }
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_bits;
    size_t m_pos = 0;
};

bool SkipScalingList(BitReader& r, int size) {
    int64_t last = 8;
    int64_t next = 8;
    for (int j = 0; j < size; ++j) {
        if (next != 0) {
            int64_t delta = 0;
            if (!r.Se(delta) || delta < -128 || delta > 127) {
                return false;
            }
            next = (last + delta + 256) % 256;
        }
        last = next == 0 ? last : next;
    }
    return true;
}

bool HasChromaFormat(uint32_t profile) {
    switch (profile) {
    case 100:
    case 110:
    case 122:
    case 244:
    case 44:
    case 83:
    case 86:
    case 118:
    case 128:
    case 138:
    case 139:
    case 134:
    case 135:
        return true;
    default:
        return false;
    }
}

bool ReadHighProfileFields(BitReader& r) {
    uint32_t chromaFormat = 0;
    if (!r.Ue(chromaFormat) || chromaFormat > 3) {
        return false;
    }
    if (chromaFormat == 3 && !r.Skip(1)) {
        return false;
    }
    uint32_t bitDepthLuma = 0;
    uint32_t bitDepthChroma = 0;
    if (!r.Ue(bitDepthLuma) || !r.Ue(bitDepthChroma) || bitDepthLuma > 6 || bitDepthChroma > 6 ||
        !r.Skip(1)) {
        return false;
    }
    bool scalingMatrix = false;
    if (!r.Flag(scalingMatrix)) {
        return false;
    }
    if (scalingMatrix) {
        const int lists = chromaFormat == 3 ? 12 : 8;
        for (int i = 0; i < lists; ++i) {
            bool present = false;
            if (!r.Flag(present) || (present && !SkipScalingList(r, i < 6 ? 16 : 64))) {
                return false;
            }
        }
    }
    return true;
}

bool ReadPicOrderCount(BitReader& r) {
    uint32_t type = 0;
    if (!r.Ue(type) || type > 2) {
        return false;
    }
    if (type == 0) {
        uint32_t log2MaxLsb = 0;
        return r.Ue(log2MaxLsb) && log2MaxLsb <= 12;
    }
    if (type == 1) {
        int64_t offset = 0;
        uint32_t cycle = 0;
        if (!r.Skip(1) || !r.Se(offset) || !r.Se(offset) || !r.Ue(cycle) || cycle > 255) {
            return false;
        }
        for (uint32_t i = 0; i < cycle; ++i) {
            if (!r.Se(offset)) {
                return false;
            }
        }
    }
    return true;
}

// The VUI up to the colour description; a VUI cut short leaves the remaining fields unknown.
void ReadVuiColor(BitReader& r, SpsColorInfo& info) {
    bool aspect = false;
    if (!r.Flag(aspect)) {
        return;
    }
    if (aspect) {
        uint32_t idc = 0;
        if (!r.Bits(8, idc) || (idc == 255 && !r.Skip(32))) {
            return;
        }
    }
    bool overscan = false;
    if (!r.Flag(overscan) || (overscan && !r.Skip(1))) {
        return;
    }
    bool signalType = false;
    uint32_t fullRange = 0;
    if (!r.Flag(signalType) || !signalType || !r.Skip(3) || !r.Bit(fullRange)) {
        return;
    }
    info.videoFullRange = static_cast<int32_t>(fullRange);
    bool colourDescription = false;
    uint32_t primaries = 0;
    uint32_t transfer = 0;
    uint32_t matrix = 0;
    if (!r.Flag(colourDescription) || !colourDescription || !r.Bits(8, primaries) || !r.Bits(8, transfer) ||
        !r.Bits(8, matrix)) {
        return;
    }
    info.colourPrimaries = static_cast<int32_t>(primaries);
    info.transferCharacteristics = static_cast<int32_t>(transfer);
    info.matrixCoefficients = static_cast<int32_t>(matrix);
}

} // namespace

std::vector<uint8_t> RemoveEmulationPrevention(const uint8_t* data, size_t size) {
    std::vector<uint8_t> rbsp;
    if (data == nullptr) {
        return rbsp;
    }
    rbsp.reserve(size);
    size_t zeros = 0;
    for (size_t i = 0; i < size; ++i) {
        if (zeros >= 2 && data[i] == 3) {
            zeros = 0;
            continue;
        }
        rbsp.push_back(data[i]);
        zeros = data[i] == 0 ? zeros + 1 : 0;
    }
    return rbsp;
}

std::optional<SpsColorInfo> ParseSpsColor(const uint8_t* rbsp, size_t size) {
    if (rbsp == nullptr) {
        return std::nullopt;
    }
    BitReader r(rbsp, size);
    SpsColorInfo info;
    uint32_t nalHeader = 0;
    uint32_t constraints = 0;
    if (!r.Bits(8, nalHeader) || !r.Bits(8, info.profileIdc) || !r.Bits(8, constraints) ||
        !r.Bits(8, info.levelIdc) || !r.Ue(info.spsId) || info.spsId > 31) {
        return std::nullopt;
    }
    if (HasChromaFormat(info.profileIdc) && !ReadHighProfileFields(r)) {
        return std::nullopt;
    }
    uint32_t log2MaxFrameNum = 0;
    if (!r.Ue(log2MaxFrameNum) || log2MaxFrameNum > 12 || !ReadPicOrderCount(r)) {
        return std::nullopt;
    }
    uint32_t maxRefFrames = 0;
    uint32_t widthMinus1 = 0;
    uint32_t heightMinus1 = 0;
    bool frameMbsOnly = false;
    if (!r.Ue(maxRefFrames) || !r.Skip(1) || !r.Ue(widthMinus1) || !r.Ue(heightMinus1) ||
        !r.Flag(frameMbsOnly) || widthMinus1 > 0xFFFF || heightMinus1 > 0xFFFF) {
        return std::nullopt;
    }
    info.widthMbs = widthMinus1 + 1;
    info.heightMbs = (heightMinus1 + 1) * (frameMbsOnly ? 1 : 2);
    if (!frameMbsOnly && !r.Skip(1)) {
        return std::nullopt;
    }
    bool cropping = false;
    if (!r.Skip(1) || !r.Flag(cropping)) {
        return std::nullopt;
    }
    if (cropping) {
        uint32_t crop = 0;
        for (int i = 0; i < 4; ++i) {
            if (!r.Ue(crop)) {
                return std::nullopt;
            }
        }
    }
    if (!r.Flag(info.vuiPresent)) {
        return std::nullopt;
    }
    if (info.vuiPresent) {
        ReadVuiColor(r, info);
    }
    return info;
}
