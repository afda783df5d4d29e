// The main thread's share of playing the update window's strip, per frame: the composition of the frame
// onto the frame cache (what a plain painter's step does: DrawFrame through the transparency mask) plus
// the cache's copy onto the surface that the paint presents; and the hand-over round trip of one step
// from a painter's thread to the main thread through MainThreadQueue.
#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/MainThreadQueue.h"
#include "bench/GifSamples.h"
#include "imaging/gif/composition/GIFFrameDrawing.h"
#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/surface/SurfaceStretch.h"

namespace {

void LoadStrip(TGIFImage& image)
{
    const GifBytes& bytes = StripSample().bytes;
    GIFByteStream stream(bytes.data(), bytes.size());
    image.LoadFromStream(stream);
}

// One frame's step onto the cache, then the paint's copy of the cache onto the presented surface.
void ComposeAndCopy(TGIFSubImage& frame, PixelSurface& cache, PixelSurface& shown, const PictureRect& whole)
{
    DrawFrame(frame, cache, whole, true, false);
    StretchCopy(shown, whole, cache, whole);
}

void StripFrameStep(benchmark::State& state)
{
    TGIFImage image;
    LoadStrip(image);
    const PictureRect whole{0, 0, image.Width(), image.Height()};
    PixelSurface cache(image.Width(), image.Height()), shown(image.Width(), image.Height());
    const int frames = image.Images.Count();
    for (int i = 0; i < frames; ++i) // the first pass renders each frame's bitmap; playback repeats later passes
        ComposeAndCopy(image.Images[i], cache, shown, whole);
    int next = 0;
    for (auto _ : state) {
        ComposeAndCopy(image.Images[next], cache, shown, whole);
        next = (next + 1) % frames;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["frames"] = frames;
}

// The main thread's wake-up: the posted message of the application, here a counted signal.
class Doorbell {
public:
    void Ring()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++rings_;
        rung_.notify_one();
    }
    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        rung_.wait(lock, [this] { return rings_ > 0; });
        --rings_;
    }

private:
    std::mutex mutex_;
    std::condition_variable rung_;
    int rings_ = 0;
};

// A worker hands over steps without pause; each iteration, the main thread is woken and runs one.
void HandOverRoundTrip(benchmark::State& state)
{
    Doorbell doorbell;
    MainThreadQueue queue([&doorbell] { doorbell.Ring(); });
    std::atomic<long> ran{0};
    const std::function<void()> step = [&ran] { ran.fetch_add(1, std::memory_order_relaxed); };
    std::thread worker([&queue, &step] {
        try {
            for (;;)
                queue.HandOver(step);
        } catch (const EHandOverClosed&) {
        }
    });
    for (auto _ : state) {
        doorbell.Wait();
        queue.RunPending();
    }
    queue.Shutdown();
    worker.join();
    state.SetItemsProcessed(ran.load());
}

} // namespace

BENCHMARK(StripFrameStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(HandOverRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();
