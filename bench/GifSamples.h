#pragma once
// The GIF streams that the decoding benchmarks read: generated once per run with the test support's GIF
// writer, the strip of the update window read from resources/, and three real-world files.
#include <cstddef>
#include <cstdint>
#include <vector>

using GifBytes = std::vector<std::uint8_t>;

struct GifSample {
    GifBytes bytes;
    std::size_t pixels = 0; // the sum of every frame's width x height
};

// A single 256-colour frame of smooth shading under fine noise, as a photograph gives (BENCH_PHOTO_SIDE,
// default 1000 pixels square).
const GifSample& PhotoSample();
// A screen recording (BENCH_SCREEN_FRAMES frames, default 200, on a 640 x 480 screen of 16 colours):
// one full frame of windows and text lines, then rectangles that change, every tenth one the whole screen.
const GifSample& ScreenSample();
// resources/Strip.gif, the update window's progress strip.
const GifSample& StripSample();
// Real-world pictures from ../shared/gif-samples/: a 1165 x 859 photo (harvesters.gif), a 312 x 442 photo
// (hibiscus.regular.gif) and an animation with transparency and disposal (gifplayer-muybridge.gif).
const GifSample& HarvestersSample();
const GifSample& HibiscusSample();
const GifSample& MuybridgeSample();
