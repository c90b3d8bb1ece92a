#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/AnnexB.h"

#include "TestPaths.h"

// The H.264 test clips written at build time beside the test executable (tests/CMakeLists.txt): raw NV12
// frames of a known picture (tests/win/data/MakeEncoderClip.py) and the stream x264 made of them, with an IDR
// frame every second frame and one slice per picture.
namespace test_clip {

using Bytes = std::vector<uint8_t>;

struct ClipSize {
    const wchar_t* name; // file name without extension
    int32_t width;
    int32_t height;
    int32_t frames;
};
inline constexpr ClipSize kEncoderClip = {L"EncoderClip", 128, 96, 6};
inline constexpr ClipSize kLargeClip = {L"LargeClip", 176, 144, 6};

inline Bytes ReadBytes(const std::wstring& name) {
    const std::string text = ReadWholeFile(TestExeFolder() + name);
    return Bytes(text.begin(), text.end());
}

// Access units of a stream with one slice per picture: everything up to and including each slice.
inline std::vector<Bytes> SplitAccessUnits(const Bytes& stream) {
    std::vector<Bytes> units(1);
    ForEachNalUnit(stream.data(), stream.size(), [&](const NalUnit& unit) {
        units.back().insert(units.back().end(), stream.begin() + unit.startCode, stream.begin() + unit.end);
        const uint8_t type = unit.Type(stream.data());
        if (type == 1 || type == kNalIdrSlice)
            units.emplace_back();
        return true;
    });
    units.pop_back();
    return units;
}

} // namespace test_clip
