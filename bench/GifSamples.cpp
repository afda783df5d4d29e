#include "bench/GifSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "bench/ResourceFile.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "tests/unit/imaging/GifBuilder.h"

namespace {

constexpr unsigned ScreenWidth = 640;
constexpr unsigned ScreenHeight = 480;
constexpr unsigned ScreenColors = 16;

unsigned EnvSize(const char* name, unsigned fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && std::atoi(text) > 0 ? static_cast<unsigned>(std::atoi(text)) : fallback;
}

// A small deterministic generator (xorshift32), so that every run reads the same bytes.
class Noise {
public:
    unsigned Next(unsigned range)
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ % range;
    }

private:
    std::uint32_t state_ = 2463534242u;
};

gif::Bytes PhotoPixels(unsigned side)
{
    Noise noise;
    gif::Bytes pixels(std::size_t(side) * side);
    for (unsigned y = 0; y < side; ++y)
        for (unsigned x = 0; x < side; ++x) {
            const double shade = 128 + 60 * std::sin(x / 37.0) + 50 * std::cos(y / 23.0 + x / 91.0);
            const int value = static_cast<int>(shade) + static_cast<int>(noise.Next(17)) - 8;
            pixels[std::size_t(y) * side + x] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
        }
    return pixels;
}

// A screen area: a flat background, a window frame, and lines of "text" (runs of dark pixels whose
// lengths vary like words) that scroll with `shift`.
gif::Bytes ScreenPixels(unsigned width, unsigned height, unsigned shift, Noise& noise)
{
    gif::Bytes pixels(std::size_t(width) * height, 1);
    for (unsigned y = 0; y < height; ++y) {
        const unsigned line = (y + shift) % 16;
        std::uint8_t* row = &pixels[std::size_t(y) * width];
        if (y < 2 || y + 2 >= height) {
            std::fill(row, row + width, 3);
            continue;
        }
        if (line >= 10)
            continue;
        for (unsigned x = 8; x < width;) {
            const unsigned word = 3 + noise.Next(40);
            const std::uint8_t ink = static_cast<std::uint8_t>(line < 2 ? 2 : 4 + noise.Next(ScreenColors - 4));
            for (unsigned end = std::min(width, x + word); x < end; ++x)
                row[x] = (x + line) % 3 == 0 ? ink : 1;
            x += 4 + noise.Next(6);
        }
    }
    return pixels;
}

GifBytes MakeScreen(unsigned frames)
{
    Noise noise;
    const gif::ImageOptions options{.lzw = {4}};
    gif::GifBuilder builder;
    builder.Header(ScreenWidth, ScreenHeight, ScreenColors).Loop(0);
    for (unsigned frame = 0; frame < frames; ++frame) {
        const bool whole = frame % 10 == 0;
        const unsigned width = whole ? ScreenWidth : 240, height = whole ? ScreenHeight : 60;
        gif::ImageOptions at = options;
        if (!whole) {
            at.left = static_cast<std::uint16_t>(noise.Next(ScreenWidth - width));
            at.top = static_cast<std::uint16_t>(noise.Next(ScreenHeight - height));
        }
        builder.GraphicControl(1 << 2, 10).Image(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                                                 ScreenPixels(width, height, frame, noise), at);
    }
    return builder.Trailer().bytes;
}

GifBytes MakePhoto(unsigned side)
{
    const auto edge = static_cast<std::uint16_t>(side);
    return gif::GifBuilder().Header(edge, edge, 256).Image(edge, edge, PhotoPixels(side)).Trailer().bytes;
}

// The sum of every frame's width x height, as our decoder reads the stream.
GifSample WithPixels(GifBytes bytes)
{
    TGIFImage image;
    GIFByteStream stream(bytes.data(), bytes.size());
    image.LoadFromStream(stream);
    std::size_t pixels = 0;
    for (std::size_t i = 0; i < image.Images.Count(); ++i)
        pixels += std::size_t(image.Images[i].Descriptor.Width) * image.Images[i].Descriptor.Height;
    return {std::move(bytes), pixels};
}

} // namespace

const GifSample& PhotoSample()
{
    static const GifSample sample = WithPixels(MakePhoto(EnvSize("BENCH_PHOTO_SIDE", 1000)));
    return sample;
}

const GifSample& ScreenSample()
{
    static const GifSample sample = WithPixels(MakeScreen(EnvSize("BENCH_SCREEN_FRAMES", 200)));
    return sample;
}

const GifSample& StripSample()
{
    static const GifSample sample = WithPixels(ReadResource("Strip.gif"));
    return sample;
}

const GifSample& HarvestersSample()
{
    static const GifSample sample = WithPixels(ReadGifSample("harvesters.gif"));
    return sample;
}

const GifSample& HibiscusSample()
{
    static const GifSample sample = WithPixels(ReadGifSample("hibiscus.regular.gif"));
    return sample;
}

const GifSample& MuybridgeSample()
{
    static const GifSample sample = WithPixels(ReadGifSample("gifplayer-muybridge.gif"));
    return sample;
}
