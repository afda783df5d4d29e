// Decoding GIF streams held in memory: our TGIFImage against giflib's DGifSlurp on the same bytes. Both
// leave every frame's colour indices in memory; the rate counts one byte per pixel of every frame.
#include <gif_lib.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "bench/GifSamples.h"
#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFImage.h"

namespace {

using SampleSource = const GifSample& (*)();
using Decoder = bool (*)(const GifBytes&);

struct MemoryReader {
    const GifBytes& bytes;
    std::size_t at = 0;
};

int ReadFromMemory(GifFileType* file, GifByteType* target, int count)
{
    auto& reader = *static_cast<MemoryReader*>(file->UserData);
    const std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(count), reader.bytes.size() - reader.at);
    std::memcpy(target, reader.bytes.data() + reader.at, size);
    reader.at += size;
    return static_cast<int>(size);
}

// Both decoders stay out of line, so that scripts/bench can count their instructions under callgrind.
[[gnu::noinline]] bool DecodeWithGiflib(const GifBytes& bytes)
{
    MemoryReader reader{bytes};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
    if (file == nullptr)
        return false;
    const bool decoded = DGifSlurp(file) == GIF_OK;
    benchmark::DoNotOptimize(file->SavedImages);
    DGifCloseFile(file, &error);
    return decoded;
}

[[gnu::noinline]] bool DecodeWithTGIFImage(const GifBytes& bytes)
{
    TGIFImage image;
    GIFByteStream stream(bytes.data(), bytes.size());
    try {
        image.LoadFromStream(stream);
    } catch (const GIFException&) {
        return false;
    }
    benchmark::DoNotOptimize(image.Images.Count());
    return true;
}

void Decode(benchmark::State& state, SampleSource source, Decoder decoder)
{
    const GifSample& sample = source();
    for (auto _ : state)
        if (!decoder(sample.bytes)) {
            state.SkipWithError("the sample does not decode");
            break;
        }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.pixels));
}

void GIFDecodeTGIFImage(benchmark::State& state, SampleSource source)
{
    Decode(state, source, DecodeWithTGIFImage);
}

void GIFDecodeGiflib(benchmark::State& state, SampleSource source)
{
    Decode(state, source, DecodeWithGiflib);
}

} // namespace

BENCHMARK_CAPTURE(GIFDecodeTGIFImage, strip, StripSample)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, strip, StripSample)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(GIFDecodeTGIFImage, photo, PhotoSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, photo, PhotoSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeTGIFImage, screen, ScreenSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, screen, ScreenSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeTGIFImage, harvesters, HarvestersSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, harvesters, HarvestersSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeTGIFImage, hibiscus, HibiscusSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, hibiscus, HibiscusSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeTGIFImage, muybridge, MuybridgeSample)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(GIFDecodeGiflib, muybridge, MuybridgeSample)->Unit(benchmark::kMillisecond);
