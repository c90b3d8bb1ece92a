// The 2 x 2 tile codec on its four workers against one-thread TurboJPEG on the whole frame, with the same
// parameters (4:4:4, quality 90, the same flags), on a 1920 x 1080 screen-like frame in the same run.
// Prints the median speed-ups:
//   BENCH tiles_encode_speedup <x> x
//   BENCH tiles_decode_speedup <x> x
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include <turbojpeg.h>

#include "media/TileJpegDecoder.h"
#include "media/TileJpegEncoder.h"
#include "support/ScreenPicture.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRepetitions = 41;

struct Case {
    const char* what;
    std::function<bool()> run;
    std::vector<double> ms;
};

// Runs every case once as a warm-up, then kRepetitions rounds of all cases in turn, so a baseline and its
// rival see the same load on a shared machine; exits when a run fails.
void Measure(std::vector<Case>& cases) {
    for (int round = -1; round < kRepetitions; ++round)
        for (Case& c : cases) {
            const auto start = std::chrono::steady_clock::now();
            if (!c.run()) {
                std::fprintf(stderr, "bench_tiles: %s failed\n", c.what);
                std::exit(1);
            }
            if (round >= 0)
                c.ms.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                        .count());
        }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    const std::vector<uint8_t> frame = MakeScreenPicture(kWidth, kHeight);

    tjhandle compressor = tjInitCompress();
    tjhandle decompressor = tjInitDecompress();
    std::vector<uint8_t> whole(tjBufSize(kWidth, kHeight, TJSAMP_444));
    unsigned long wholeSize = 0;
    std::vector<uint8_t> decoded(frame.size());
    const auto encoder = TileJpegEncoder::Create();
    const auto decoder = TileJpegDecoder::Create();
    std::vector<uint8_t> container;
    std::vector<uint8_t> tiles;

    // Encoders run before decoders in every round, so each decoder reads what was just encoded.
    std::vector<Case> cases = {
        {"whole-frame encode",
         [&] {
             unsigned char* buffer = whole.data();
             wholeSize = static_cast<unsigned long>(whole.size());
             return tjCompress2(compressor, frame.data(), kWidth, kWidth * 4, kHeight, TJPF_BGRA, &buffer,
                                &wholeSize, TJSAMP_444, kTileJpegQuality,
                                TJFLAG_NOREALLOC | TJFLAG_FASTDCT) == 0;
         },
         {}},
        {"tile encode", [&] { return encoder->Encode(frame.data(), kWidth, kHeight, container); }, {}},
        {"whole-frame decode",
         [&] {
             return tjDecompress2(decompressor, whole.data(), wholeSize, decoded.data(), kWidth, kWidth * 4,
                                  kHeight, TJPF_BGRA, TJFLAG_FASTDCT) == 0;
         },
         {}},
        {"tile decode",
         [&] { return decoder->Decode(container.data(), container.size(), kWidth, kHeight, tiles); },
         {}},
    };
    Measure(cases);
    tjDestroy(compressor);
    tjDestroy(decompressor);
    const double wholeEncode = Median(cases[0].ms);
    const double tileEncode = Median(cases[1].ms);
    const double wholeDecode = Median(cases[2].ms);
    const double tileDecode = Median(cases[3].ms);

    std::fprintf(stderr,
                 "bench_tiles: %u hardware threads; whole frame %.2f ms encode, %.2f ms decode (%lu bytes); "
                 "tiles %.2f ms encode, %.2f ms decode (%zu bytes)\n",
                 std::thread::hardware_concurrency(), wholeEncode, wholeDecode, wholeSize, tileEncode,
                 tileDecode, container.size());
    std::printf("BENCH tiles_encode_speedup %.2f x\n", wholeEncode / tileEncode);
    std::printf("BENCH tiles_decode_speedup %.2f x\n", wholeDecode / tileDecode);
    return 0;
}
