#pragma once
// Test support: a loaded GIF played on the fake platform onto a canvas, recording what the painter
// reports through the image's hooks (which run on the test's thread).
#include <memory>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/playback/GIFPlayback.h"
#include "tests/unit/imaging/FakePlaybackPlatform.h"
#include "tests/unit/imaging/GifTestLoad.h"

struct PlaybackHarness {
    static constexpr std::uint32_t Backdrop = 0xFF112233; // what lies under the picture

    FakePlaybackPlatform fake;
    std::unique_ptr<TGIFImage> image;
    std::unique_ptr<GIFPlayback> playback;
    PixelSurface canvas;
    std::vector<int> frames;             // each frame as it is about to be drawn
    std::vector<std::uint32_t> stamps;   // the clock at that moment
    std::vector<std::string> pictures;   // the target after each frame (see Snapshot)
    int starts = 0;
    bool ended = false;
    int changes = 0;

    PlaybackHarness(const gif::Bytes& gif, PlaybackOptions options, int speed = 100)
        : image(gif::Load(gif).image), playback(std::make_unique<GIFPlayback>(*image)),
          canvas(image->Width(), image->Height())
    {
        canvas.Fill(Backdrop);
        playback->Platform = &fake.platform;
        playback->SetOptions(options);
        playback->SpeedPercent = speed;
        image->OnChange = [this] { ++changes; };
        TGIFPlaybackHooks& hooks = playback->Hooks;
        hooks.OnPlaybackStart = [this](TGIFPainter&) { ++starts; };
        hooks.OnBeforeFrame = [this](TGIFPainter& painter) {
            frames.push_back(painter.CurrentFrame());
            stamps.push_back(fake.Now());
        };
        hooks.OnAfterFrame = [this](TGIFPainter& painter) { pictures.push_back(Snapshot(*painter.Target().Surface)); };
        hooks.OnPlaybackEnd = [this](TGIFPainter&) { ended = true; };
    }
    ~PlaybackHarness()
    {
        playback.reset();
        image.reset();
    }

    PictureRect Whole() const { return {0, 0, canvas.Width(), canvas.Height()}; }
    void Draw() { playback->Draw({&canvas, {}, {}}, Whole()); }
    void RunUntilFrames(std::size_t count)
    {
        fake.RunUntil([&] { return frames.size() >= count; });
    }
    // Until the cache painter has detached.
    void RunUntilGone()
    {
        fake.RunUntil([&] { return playback->CachePainter() == nullptr; });
    }
    std::vector<std::uint32_t> Intervals() const
    {
        std::vector<std::uint32_t> out;
        for (std::size_t i = 1; i < stamps.size(); ++i)
            out.push_back(stamps[i] - stamps[i - 1]);
        return out;
    }
    std::string Sequence() const
    {
        std::string out;
        for (int frame : frames)
            out += std::to_string(frame);
        return out;
    }

    // The first row as letters: K the backdrop, 0-3 the global colours of gif::Colors, ? anything else.
    static std::string Snapshot(const PixelSurface& surface);
};

inline std::string PlaybackHarness::Snapshot(const PixelSurface& surface)
{
    std::string out;
    for (int x = 0; x < surface.Width(); ++x) {
        const std::uint32_t pixel = surface.Pixel(x, 0);
        char letter = '?';
        if (pixel == Backdrop)
            letter = 'K';
        for (unsigned i = 0; i < 4; ++i)
            if (pixel == (0xFF000000u | i << 16 | (255 - i) << 8 | i / 2))
                letter = char('0' + i);
        out += letter;
    }
    return out;
}
