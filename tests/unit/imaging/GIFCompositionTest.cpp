// What painters leave on their targets, pixel by pixel: plain and buffered composition, the frame
// cache of the draw operation.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/unit/imaging/PlaybackHarness.h"

using gif::Bytes;
using gif::GifBuilder;
using gif::ImageOptions;

namespace {

const PlaybackOptions OnTargetUnthreaded =
    DefaultPlaybackOptions.Without(PlaybackOption::Threaded).With(PlaybackOption::PaintOnTarget);

std::string Joined(const std::vector<std::string>& pictures)
{
    std::string out;
    for (const std::string& picture : pictures)
        out += (out.empty() ? "" : "|") + picture;
    return out;
}

// A 4 x 1 screen, background index 0. Frame 0 fills it with colour 1 (disposal d0); frame 1 covers
// columns 1-2 with colours 2 and 3, 3 being transparent (disposal d1); frame 2 puts colour 2 in column
// 3 (disposal 2, so that every case composes through the buffers).
Bytes DisposalFixture(int d0, int d1)
{
    return GifBuilder()
        .Header(4, 1, 4)
        .GraphicControl(std::uint8_t(d0 << 2))
        .Image(4, 1, Bytes(4, 1))
        .GraphicControl(std::uint8_t(d1 << 2 | 1), 0, 3)
        .Image(2, 1, {2, 3}, ImageOptions{1})
        .GraphicControl(2 << 2)
        .Image(1, 1, {2}, ImageOptions{3})
        .Trailer()
        .bytes;
}

} // namespace

// K: what lay under the picture; 0: the backdrop colour (global colour at the background index).
TEST(GIFComposition, BufferedPainterFollowsTheDisposalTable)
{
    const struct {
        int d0, d1;
        const char* withTransparency;
        const char* without;
    } cases[] = {
        {1, 1, "1111|1211|1212", "1111|1231|1232"},
        {1, 0, "1111|1211|1212", "1111|1231|1232"},
        {1, 2, "1111|1211|1KK2", "1111|1231|1002"}, // frame 1's area goes back under the picture
        {1, 3, "1111|1211|1112", "1111|1231|1112"}, // straight onto the target; the buffer keeps 1111
        {2, 3, "1111|K2KK|KKK2", "1111|0230|0002"}, // onto a copy of the restored buffer
        {3, 3, "1111|K2KK|KKK2", "1111|K23K|KKK2"}, // frame 0 bypassed the buffer, which holds KKKK
        {4, 3, "KKKK|KKKK|KKK2", "KKKK|KKKK|KKK2"}, // neither is drawn
        {1, 5, "1111|1111|1112", "1111|1111|1112"},
    };
    for (const auto& c : cases) {
        for (const bool transparency : {true, false}) {
            SCOPED_TRACE(testing::Message() << "disposals " << c.d0 << ", " << c.d1
                                            << (transparency ? " with" : " without") << " transparency");
            const PlaybackOptions options = transparency ? OnTargetUnthreaded
                                                         : OnTargetUnthreaded.Without(PlaybackOption::UseTransparency);
            PlaybackHarness run(DisposalFixture(c.d0, c.d1), options);
            run.Draw();
            EXPECT_EQ(Joined(run.pictures), transparency ? c.withTransparency : c.without);
        }
    }
}

// Drawn straight onto the target, the frame lands on whatever the target shows, even pixels that the
// composite buffer does not hold.
TEST(GIFComposition, RestoreToPreviousAfterDisposalOneDrawsOnTheTargetItself)
{
    PlaybackHarness run(DisposalFixture(1, 3), OnTargetUnthreaded);
    run.playback->Hooks.OnAfterFrame = [&](TGIFPainter& painter) {
        if (painter.CurrentFrame() == 0)
            run.canvas.SetPixel(3, 0, PlaybackHarness::Backdrop);
        run.pictures.push_back(PlaybackHarness::Snapshot(run.canvas));
    };
    run.Draw();
    EXPECT_EQ(Joined(run.pictures), "111K|121K|1112");
}

// Without UseTransparency a restored area takes the backdrop colour: BackdropColor when set, else the
// global colour at the background index, else the window colour.
TEST(GIFComposition, RestoredAreaTakesTheBackdropColour)
{
    const struct {
        const char* name;
        std::optional<std::uint32_t> backdropColor;
        unsigned globalColors;
        std::uint32_t pixel;
    } cases[] = {
        {"given", 0x0000FF, 4, 0xFFFF0000},
        {"background index 2", std::nullopt, 4, 0xFF02FD01},
        {"no global table", std::nullopt, 0, 0xFF000000 | FakePlaybackPlatform::WindowColor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageOptions local{0, 0, false, c.globalColors == 0 ? 4u : 0u};
        const Bytes gif = GifBuilder()
                              .Header(4, 1, c.globalColors, 2)
                              .GraphicControl(2 << 2)
                              .Image(4, 1, Bytes(4, 1), local)
                              .GraphicControl(1 << 2)
                              .Image(1, 1, {1}, local)
                              .Trailer()
                              .bytes;
        PlaybackHarness run(gif, OnTargetUnthreaded.Without(PlaybackOption::UseTransparency));
        run.playback->BackdropColor = c.backdropColor;
        run.Draw();
        EXPECT_EQ(run.canvas.Pixel(3, 0), c.pixel);
    }
}

TEST(GIFComposition, ClearEachPassRestoresTheBackdropBeforeFrameZeroOfEveryPass)
{
    // Frame 0 is one transparent pixel in column 0; frame 1 fills the screen. Two passes.
    const Bytes gif = GifBuilder()
                          .Header(4, 1, 4)
                          .Loop(2)
                          .GraphicControl(1 << 2 | 1, 0, 3)
                          .Image(1, 1, {3})
                          .GraphicControl(1 << 2)
                          .Image(4, 1, Bytes(4, 2))
                          .Trailer()
                          .bytes;
    const struct {
        PlaybackOptions options;
        const char* pictures;
    } cases[] = {
        {OnTargetUnthreaded.With(PlaybackOption::ClearEachPass), "KKKK|2222|K222|2222"},
        {OnTargetUnthreaded, "KKKK|2222|2222|2222"},
    };
    for (const auto& c : cases) {
        PlaybackHarness run(gif, c.options);
        run.Draw();
        EXPECT_EQ(Joined(run.pictures), c.pictures);
    }
}

class GIFFrameCache : public testing::Test {
protected:
    // Frame 0 fills the screen with colour 1 except a transparent column 1; frame 1 covers columns 1-2
    // with colour 2; frame 2 covers columns 0-2 with colour 0. Disposal 1, played forever.
    PlaybackHarness run{GifBuilder()
                            .Header(4, 1, 4)
                            .Loop(0)
                            .GraphicControl(1 << 2 | 1, 0, 3)
                            .Image(4, 1, {1, 3, 1, 1})
                            .GraphicControl(1 << 2)
                            .Image(2, 1, {2, 2}, ImageOptions{1})
                            .GraphicControl(1 << 2)
                            .Image(3, 1, {0, 0, 0})
                            .Trailer()
                            .bytes,
                        DefaultPlaybackOptions};

    void RunUntilPictures(std::size_t count)
    {
        run.fake.RunUntil([&] { return run.pictures.size() >= count; });
    }
};

TEST_F(GIFFrameCache, FirstDrawReturnsWithFrameZeroComposedOverTheBackdrop)
{
    run.Draw();
    EXPECT_EQ(PlaybackHarness::Snapshot(run.canvas), "1K11");
    EXPECT_EQ(run.Sequence(), "0");
    EXPECT_NE(run.playback->CachePainter(), nullptr);
}

TEST_F(GIFFrameCache, NarrowerFramesKeepTheColumnsTheyDoNotCover)
{
    run.Draw();
    const int changesAfterDraw = run.changes;
    RunUntilPictures(3);
    EXPECT_EQ(Joined(run.pictures), "1K11|1221|0001");
    EXPECT_GE(run.changes, changesAfterDraw + 2); // every frame drawn into the cache is the image's change
}

TEST_F(GIFFrameCache, RepaintWhilePlayingCopiesTheCacheWithoutASecondPainter)
{
    run.Draw();
    TGIFPainter* painter = run.playback->CachePainter();
    RunUntilPictures(2);
    PixelSurface other(4, 1);
    run.playback->Draw({&other, {}, {}}, run.Whole());
    EXPECT_EQ(PlaybackHarness::Snapshot(other), "1221");
    EXPECT_EQ(run.playback->CachePainter(), painter);
    EXPECT_EQ(run.starts, 1);
}

TEST_F(GIFFrameCache, StoppedPlaybackStartsAgainFromFrameZero)
{
    run.Draw();
    RunUntilPictures(2);
    run.playback->StopAllPainters();
    EXPECT_EQ(run.playback->FrameCache(), nullptr);
    run.canvas.Fill(PlaybackHarness::Backdrop);
    run.Draw();
    EXPECT_EQ(PlaybackHarness::Snapshot(run.canvas), "1K11");
    EXPECT_EQ(run.starts, 2);
}

TEST(GIFStillPicture, OneFrameOrPlayFramesOffDrawsFrameZeroWithoutPainter)
{
    const Bytes twoFrames = GifBuilder()
                                .Header(4, 1, 4)
                                .GraphicControl(1, 0, 3)
                                .Image(2, 1, {2, 3}, ImageOptions{1})
                                .Image(4, 1, Bytes(4, 1))
                                .Trailer()
                                .bytes;
    const Bytes oneFrame =
        GifBuilder().Header(4, 1, 4).GraphicControl(1, 0, 3).Image(2, 1, {2, 3}, ImageOptions{1}).bytes;
    const struct {
        const Bytes& gif;
        PlaybackOptions options;
    } cases[] = {
        {oneFrame, DefaultPlaybackOptions},
        {twoFrames, DefaultPlaybackOptions.Without(PlaybackOption::PlayFrames)},
    };
    for (const auto& c : cases) {
        PlaybackHarness run(c.gif, c.options);
        run.Draw();
        run.Draw();
        EXPECT_EQ(PlaybackHarness::Snapshot(run.canvas), "K2KK");
        EXPECT_EQ(run.starts, 0);
        EXPECT_EQ(run.playback->FrameCache(), nullptr);
    }
}
