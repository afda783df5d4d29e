// Decoding the update window's banner (resources/Banner.jpg): TJPEGImage from its stream to its 32-bit
// surface, against the library called straight into a buffer of red, green and blue samples.
#include <benchmark/benchmark.h>

#include "bench/ResourceFile.h"
#include "imaging/jpeg/JPEGImage.h"
#include "tests/unit/imaging/JpegTestStreams.h"

namespace {

const std::vector<std::uint8_t>& Banner()
{
    static const std::vector<std::uint8_t> stream = ReadResource("Banner.jpg");
    return stream;
}

void JPEGDecodeTJPEGImage(benchmark::State& state)
{
    const std::vector<std::uint8_t>& stream = Banner();
    for (auto _ : state) {
        TJPEGImage image;
        image.ReadStream(stream.data(), stream.size());
        benchmark::DoNotOptimize(image.Bitmap());
    }
}

void JPEGDecodeLibjpeg(benchmark::State& state)
{
    const std::vector<std::uint8_t>& stream = Banner();
    for (auto _ : state)
        benchmark::DoNotOptimize(jpegtest::ReferenceDecode(stream));
}

} // namespace

BENCHMARK(JPEGDecodeTJPEGImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(JPEGDecodeLibjpeg)->Unit(benchmark::kMicrosecond);
