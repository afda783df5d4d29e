// Frame timing and passes of painters, on the fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/unit/imaging/PlaybackHarness.h"

using gif::Bytes;
using gif::GifBuilder;

namespace {

const PlaybackOptions Threaded = DefaultPlaybackOptions;
const PlaybackOptions Unthreaded = DefaultPlaybackOptions.Without(PlaybackOption::Threaded);

struct AnimationShape {
    int frames = 3;
    std::uint16_t delay = 0;
    int loopAt = -1; // frame that carries the loop extension; -1 for none
    std::uint16_t loops = 0;
    int emptyAt = -1; // frame with extensions but no pixel data; -1 for none
};

// A 4 x 1 screen with 4 global colours; frame i fills it with colour i % 3 + 1 (disposal 1).
Bytes Animation(const AnimationShape& shape)
{
    GifBuilder gif;
    gif.Header(4, 1, 4);
    for (int i = 0; i < shape.frames; ++i) {
        if (i == shape.loopAt)
            gif.Loop(shape.loops);
        gif.GraphicControl(1 << 2, shape.delay);
        if (i == shape.emptyAt)
            gif.Raw({0});
        else
            gif.Image(4, 1, Bytes(4, std::uint8_t(i % 3 + 1)));
    }
    return gif.Trailer().bytes;
}

// Plays to the end (or, when `stopAfter` is given, until that many frames were drawn, then stops).
PlaybackHarness& Play(PlaybackHarness& run, std::size_t stopAfter = 0)
{
    run.Draw();
    if (stopAfter > 0) {
        run.RunUntilFrames(stopAfter);
        run.playback->StopAllPainters();
    } else {
        run.RunUntilGone();
    }
    return run;
}

} // namespace

TEST(GIFPlaybackTiming, StoredDelayBecomesTheInterval)
{
    const struct {
        std::uint16_t delay;
        bool threaded;
        std::uint32_t interval;
    } cases[] = {
        {0, true, 120},      {0, false, 120},  {1, true, 36},          {2, true, 36},
        {2, false, 36},      {3, true, 36},    {25, true, 300},        {5000, true, 60000},
        {5000, false, 12000}, {1000, false, 12000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "delay " << c.delay << (c.threaded ? " threaded" : " unthreaded"));
        PlaybackHarness run(Animation({3, c.delay}), c.threaded ? Threaded : Unthreaded);
        Play(run);
        EXPECT_EQ(run.Sequence(), "012");
        EXPECT_EQ(run.Intervals(), (std::vector<std::uint32_t>{c.interval, c.interval}));
        if (!c.threaded) { // the caller's messages are served at least every 100 ms
            EXPECT_LE(*std::max_element(run.fake.sleeps.begin(), run.fake.sleeps.end()), 100);
        }
    }
}

TEST(GIFPlaybackTiming, SpeedScalesEveryWait)
{
    const struct {
        int speed;
        std::vector<int> waits;
    } cases[] = {
        {100, {120, 120}}, {200, {60, 60}}, {50, {240, 240}}, {300, {40, 40}}, {7, {1714, 1714}}, {-5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed);
        PlaybackHarness run(Animation({3}), Threaded, c.speed);
        Play(run);
        EXPECT_EQ(run.Sequence(), "012");
        EXPECT_EQ(run.fake.Waits(), c.waits);
    }
}

TEST(GIFPlaybackTiming, SpeedZeroFreezesAThreadedAnimationUntilStopped)
{
    PlaybackHarness run(Animation({3}), Threaded, 0);
    run.Draw();
    run.fake.RunUntil([&] { return run.fake.WaitingWithoutLimit(); });
    EXPECT_EQ(run.Sequence(), "0");
    run.playback->StopAllPainters();
    EXPECT_EQ(run.Sequence(), "0");
    EXPECT_EQ(run.playback->CachePainter(), nullptr);
    EXPECT_FALSE(run.ended); // the end event is not handed over once stopped
}

TEST(GIFPlaybackTiming, SpeedZeroWithoutThreadWaitsTheLongestDelay)
{
    PlaybackHarness run(Animation({2}), Unthreaded, 0);
    Play(run);
    EXPECT_EQ(run.Intervals(), (std::vector<std::uint32_t>{12000}));
}

// The main thread stalls after frame 2 has been drawn; the next wait gives back half of the overrun.
TEST(GIFPlaybackTiming, WaitAfterAStallGivesBackHalfTheOverrun)
{
    const struct {
        std::uint32_t stall;
        std::vector<int> waits;
    } cases[] = {
        {0, {120, 120, 120, 120, 120}},
        {100, {120, 120, 70, 120, 120}},
        {101, {120, 120, 70, 120, 120}}, // half of the overrun, truncated
        {300, {120, 120, 105, 120}},     // no wait at all for frame 3; its negative plan counts next
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stall " << c.stall);
        PlaybackHarness run(Animation({6}), Threaded);
        run.playback->Hooks.OnAfterFrame = [&](TGIFPainter& painter) {
            if (painter.CurrentFrame() == 2)
                run.fake.Advance(c.stall);
        };
        Play(run);
        EXPECT_EQ(run.Sequence(), "012345");
        EXPECT_EQ(run.fake.Waits(), c.waits);
    }
}

TEST(GIFPlaybackTiming, LoopExtensionDecidesThePasses)
{
    const struct {
        const char* name;
        PlaybackOptions options;
        AnimationShape shape;
        const char* sequence;
        bool ends;
    } cases[] = {
        {"no extension: one pass", Threaded, {3}, "012", true},
        {"no extension, unthreaded", Unthreaded, {3}, "012", true},
        {"count 2: two passes", Threaded, {3, 0, 0, 2}, "012012", true},
        {"count 3, unthreaded", Unthreaded, {3, 0, 0, 3}, "012012012", true},
        {"count 0 unthreaded: one pass", Unthreaded, {3, 0, 0, 0}, "012", true},
        {"count 0 threaded: forever", Threaded, {3, 0, 0, 0}, "0120120120", false},
        {"RepeatForever overrides the count", Threaded.With(PlaybackOption::RepeatForever), {3, 0, 0, 2},
         "0120120120", false},
        {"later frame: passes restart there", Unthreaded, {3, 0, 1, 3}, "0121212", true},
        {"RepeatPasses off: one pass", Threaded.Without(PlaybackOption::RepeatPasses), {3, 0, 0, 2}, "012", true},
        {"empty frame ends each pass", Unthreaded, {3, 0, 0, 2, 1}, "00", true},
        {"PlayFrames off draws frame 0 only", Threaded.Without(PlaybackOption::PlayFrames), {3, 0, 0, 0}, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlaybackHarness run(Animation(c.shape), c.options);
        Play(run, c.ends ? 0 : std::string(c.sequence).size());
        EXPECT_EQ(run.Sequence(), c.sequence);
        EXPECT_EQ(run.ended, c.ends);
        EXPECT_LE(run.starts, 1);
    }
}

TEST(GIFPlaybackTiming, AfterFrameHandlerChoosesTheNextFrame)
{
    PlaybackHarness run(Animation({4}), Threaded);
    run.playback->Hooks.OnAfterFrame = [](TGIFPainter& painter) {
        if (painter.CurrentFrame() == 0)
            painter.SetCurrentFrame(2);
    };
    Play(run);
    EXPECT_EQ(run.Sequence(), "023");
}

TEST(GIFPlaybackTiming, QuitMessageWhileWaitingEndsAnUnthreadedPainter)
{
    PlaybackHarness run(Animation({3}), Unthreaded);
    run.fake.quitAtPump = 3; // the third pump: during the wait before frame 1
    run.Draw();
    EXPECT_EQ(run.Sequence(), "0");
    EXPECT_FALSE(run.ended);
    EXPECT_EQ(run.playback->CachePainter(), nullptr);
}

TEST(GIFPlaybackTiming, UnthreadedPainterRaisesItsErrorFromTheDraw)
{
    PlaybackHarness run(Animation({3}), Unthreaded);
    run.playback->Hooks.OnBeforeFrame = [](TGIFPainter& painter) {
        if (painter.CurrentFrame() == 1)
            throw std::runtime_error("hook failed");
    };
    EXPECT_THROW(
        try { run.Draw(); } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "hook failed");
            throw;
        },
        std::runtime_error);
    EXPECT_EQ(run.playback->CachePainter(), nullptr);
    EXPECT_FALSE(run.playback->Drawing());
}

TEST(GIFPlaybackTiming, ThreadedPainterEndsQuietlyOnAnError)
{
    PlaybackHarness run(Animation({3, 0, 0, 0}), Threaded);
    run.playback->Hooks.OnAfterFrame = [&](TGIFPainter& painter) {
        if (painter.CurrentFrame() == 1)
            throw std::runtime_error("hook failed");
    };
    Play(run);
    EXPECT_EQ(run.Sequence(), "01");
    EXPECT_FALSE(run.ended);
    ASSERT_NE(run.playback->FrameCache(), nullptr); // finished: the last picture stays
    EXPECT_EQ(PlaybackHarness::Snapshot(*run.playback->FrameCache()), "2222");
}

TEST(GIFPlaybackTiming, DestroyingTheImageWhilePlayingStopsThePainterFirst)
{
    PlaybackHarness run(Animation({3, 0, 0, 0}), Threaded);
    run.Draw();
    run.RunUntilFrames(4);
    run.image.reset(); // frames freed only after the painter has detached (ASan watches)
    EXPECT_FALSE(run.ended);
}
