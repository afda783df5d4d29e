// The GIF picture under Windows: drawn onto a device context through a pixel surface, animated by a
// real painter thread whose frames the main thread draws, and freed safely while it plays.
#include "imaging/gif/playback/GIFPictureWin32.h"

#include <gtest/gtest.h>

#include <chrono>

#include "app/Application.h"
#include "app/PlaybackHostWin32.h"
#include "common/HandlesWin32.h"
#include "imaging/surface/PictureCanvasWin32.h"
#include "tests/unit/imaging/GifBuilder.h"

namespace {

using gif::Bytes;
using gif::GifBuilder;

// A 4 x 1 screen; frame 0 fills it with colour 1 except a transparent column 1, frame 1 with colour 2.
// Three units of delay (36 ms) each, played forever.
Bytes TwoFrames()
{
    return GifBuilder()
        .Header(4, 1, 4)
        .Loop(0)
        .GraphicControl(1 << 2 | 1, 3, 3)
        .Image(4, 1, {1, 3, 1, 1})
        .GraphicControl(1 << 2, 3)
        .Image(4, 1, Bytes(4, 2))
        .Trailer()
        .bytes;
}

// A memory device context holding a 4 x 1 bitmap.
class MemoryCanvas {
public:
    MemoryCanvas() : dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, 4, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~MemoryCanvas() { SelectObject(dc_.Get(), previous_); }

    HDC Handle() const { return dc_.Get(); }
    // The pixel as 0xRRGGBB.
    std::uint32_t Pixel(int x) const
    {
        GdiFlush();
        return bits_[x] & 0xFFFFFF;
    }
    void Fill(std::uint32_t rgb)
    {
        GdiFlush();
        for (int x = 0; x < 4; ++x)
            bits_[x] = rgb;
    }

private:
    MemoryDCHandle dc_;
    BitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

constexpr std::uint32_t Backdrop = 0x112233;
constexpr std::uint32_t Colour1 = 0x01FE00; // gif::Colors: (1, 254, 0)
constexpr std::uint32_t Colour2 = 0x02FD01;

class GIFPictureTest : public testing::Test {
protected:
    Application application;
    PlaybackHost host{application};
    MemoryCanvas memory;
    const Bytes data = TwoFrames();
    std::unique_ptr<GIFPicture> picture =
        std::make_unique<GIFPicture>(data.data(), data.size(), host.Platform(), false);

    void Draw()
    {
        PictureCanvas canvas(memory.Handle());
        picture->Draw(canvas, {0, 0, 4, 1});
    }
    // Serves the hand-over until `changes` notices came, or gives up after a generous while.
    void ServeUntil(const int& changes, int wanted)
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (changes < wanted && std::chrono::steady_clock::now() < giveUp)
            if (!application.MainThread().RunPending())
                Sleep(1);
        ASSERT_GE(changes, wanted);
    }
};

} // namespace

TEST_F(GIFPictureTest, FirstDrawShowsFrameZeroOverWhatTheCanvasHeld)
{
    memory.Fill(Backdrop);
    Draw();
    EXPECT_EQ(memory.Pixel(0), Colour1);
    EXPECT_EQ(memory.Pixel(1), Backdrop);
    EXPECT_EQ(memory.Pixel(3), Colour1);
}

TEST_F(GIFPictureTest, PainterThreadHandsItsFramesToTheMainThread)
{
    int changes = 0;
    picture->SetOnChange([&] { ++changes; });
    memory.Fill(Backdrop);
    Draw();
    const int afterFirstDraw = changes;
    ServeUntil(changes, afterFirstDraw + 1);
    Draw(); // a repaint copies the cache, now holding frame 1
    EXPECT_EQ(memory.Pixel(1), Colour2);
}

TEST_F(GIFPictureTest, FreedWhilePlayingStopsThePainterBeforeTheFrames)
{
    int changes = 0;
    picture->SetOnChange([&] { ++changes; });
    Draw();
    ServeUntil(changes, changes + 2);
    picture.reset();
    EXPECT_FALSE(application.MainThread().RunPending()); // nothing left behind by the painter
}
