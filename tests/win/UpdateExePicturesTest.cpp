// The pictures of the real Update.exe's window under Wine, read from the screen: the banner in Image1
// and the animated strip in Image2, each drawn from its control's top-left at its own size and clipped
// to the control, compared with the pictures decoded here from the resources the program embeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/decoding/GIFSubImage.h"
#include "imaging/jpeg/JPEGImage.h"
#include "support/ClientPixels.h"
#include "support/MessageBoxWatcher.h"
#include "support/UpdaterRun.h"

namespace {

constexpr std::uint32_t Rgb = 0xFFFFFF;

std::string ResourceBytes(const char* name)
{
    return ScratchFolder::Read(std::string("Z:") + RESOURCES_DIR + "/" + name);
}

const std::uint8_t* BytesOf(const std::string& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

// The window's background, as 0xRRGGBB.
std::uint32_t FaceColour()
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return std::uint32_t(GetRValue(face)) << 16 | std::uint32_t(GetGValue(face)) << 8 | GetBValue(face);
}

ClientPixels Filled(int width, int height, std::uint32_t colour)
{
    return {width, height, std::vector<std::uint32_t>(std::size_t(width) * height, colour)};
}

// The rows [top, top + height) of the client area, as 0xRRGGBB.
ClientPixels Band(const ClientPixels& shown, int top, int height)
{
    ClientPixels band = Filled(shown.width, height, 0);
    for (std::size_t i = 0; i < band.values.size(); ++i)
        band.values[i] = shown.values[std::size_t(top) * shown.width + i] & Rgb;
    return band;
}

// A control of that size on the window's background with `picture` drawn at its top-left, clipped.
ClientPixels InControl(const ClientPixels& picture, int width, int height)
{
    ClientPixels control = Filled(width, height, FaceColour());
    for (int y = 0; y < std::min(height, picture.height); ++y)
        for (int x = 0; x < std::min(width, picture.width); ++x)
            control.values[std::size_t(y) * width + x] = picture.values[std::size_t(y) * picture.width + x];
    return control;
}

ClientPixels DecodedBanner()
{
    const std::string bytes = ResourceBytes("Banner.jpg");
    TJPEGImage banner;
    banner.ReadStream(BytesOf(bytes), bytes.size());
    const PixelSurface& pixels = banner.Bitmap().Pixels;
    ClientPixels picture = Filled(pixels.Width(), pixels.Height(), 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.values[std::size_t(y) * picture.width + x] = pixels.Pixel(x, y) & Rgb;
    return picture;
}

// Paints the frame's opaque pixels over `canvas`; its transparent ones leave what is there.
void PaintFrame(TGIFSubImage& frame, ClientPixels& canvas)
{
    const TGIFImageDescriptor& place = frame.Descriptor;
    for (int y = 0; y < place.Height; ++y)
        for (int x = 0; x < place.Width; ++x) {
            const std::uint8_t index = frame.Data[std::size_t(y) * place.Width + x];
            if (frame.Transparent() && index == frame.TransparentColorIndex())
                continue;
            const TGIFColor& colour = frame.ActiveColorMap().Entry(index);
            canvas.values[std::size_t(place.Top + y) * canvas.width + place.Left + x] =
                std::uint32_t(colour.Red) << 16 | std::uint32_t(colour.Green) << 8 | colour.Blue;
        }
}

// What the strip shows after each of its frames: the frames painted one over the other onto the
// window's background, each left in place for the next (the strip's frames all keep their pixels).
std::vector<ClientPixels> StripStates()
{
    const std::string bytes = ResourceBytes("Strip.gif");
    GIFByteStream stream(BytesOf(bytes), bytes.size());
    TGIFImage strip;
    strip.LoadFromStream(stream);
    ClientPixels canvas = Filled(strip.Width(), strip.Height(), FaceColour());
    std::vector<ClientPixels> states;
    for (std::size_t frame = 0; frame < strip.Images.Count(); ++frame) {
        PaintFrame(strip.Images[frame], canvas);
        states.push_back(canvas);
    }
    return states;
}

class UpdateExePicturesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(watcher.Seen().size(), 1u) << "the missing manifest's error box came first";
        for (const ClientPixels& state : StripStates())
            stripStates.push_back(InControl(state, Designed::ClientWidth, Designed::StripHeight));
        ASSERT_FALSE(stripStates.empty());
    }

    static ClientPixels Banner(const ClientPixels& shown) { return Band(shown, 0, Designed::BannerHeight); }
    static ClientPixels Strip(const ClientPixels& shown)
    {
        return Band(shown, Designed::StripTop, Designed::StripHeight);
    }

    // The state of the strip that Image2 shows, or -1 when it shows none of them.
    int StripStateShown(const ClientPixels& shown) const
    {
        const ClientPixels strip = Strip(shown);
        for (std::size_t state = 0; state < stripStates.size(); ++state)
            if (stripStates[state] == strip)
                return int(state);
        return -1;
    }

    // Captures the client area until it shows a state of the strip (a capture may catch a frame half
    // drawn, and the first paint may still be due) or ten seconds have passed; returns the last capture.
    ClientPixels CaptureShowingTheStrip() const
    {
        ClientPixels shown = CaptureClient(window);
        for (int attempt = 0; attempt < 100 && StripStateShown(shown) < 0; ++attempt) {
            Sleep(100);
            shown = CaptureClient(window);
        }
        return shown;
    }

    UpdaterFixture app;
    // An update run without a manifest: its error box answered, the window stays open.
    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher{IDOK, {}, run.Id()};
    const HWND window = UpdaterFixture::VisibleWindow(run.Id());
    std::vector<ClientPixels> stripStates;
};

TEST_F(UpdateExePicturesTest, Image1ShowsTheBannerAndImage2AFrameOfTheStripComposedOverTheBackground)
{
    const ClientPixels shown = CaptureShowingTheStrip();

    const ClientPixels banner = DecodedBanner();
    EXPECT_EQ(banner.width, Designed::ClientWidth) << "the banner fills Image1";
    EXPECT_EQ(banner.height, Designed::BannerHeight) << "the banner fills Image1";
    EXPECT_TRUE(Banner(shown) == banner) << "the banner pixel for pixel in Image1";
    EXPECT_GE(StripStateShown(shown), 0) << "the strip as after one of its frames, clipped to Image2";
}

TEST_F(UpdateExePicturesTest, StripMovesOnWhileTheBannerStaysTheSame)
{
    const ClientPixels first = CaptureShowingTheStrip();
    Sleep(500);
    const ClientPixels later = CaptureShowingTheStrip();

    ASSERT_GE(StripStateShown(first), 0);
    ASSERT_GE(StripStateShown(later), 0);
    EXPECT_NE(StripStateShown(first), StripStateShown(later)) << "the strip shows another frame";
    EXPECT_TRUE(Banner(first) == Banner(later)) << "the banner does not change";
}

TEST_F(UpdateExePicturesTest, ClosingTheWindowWhileTheStripPlaysEndsTheProgramCleanly)
{
    ASSERT_GE(StripStateShown(CaptureShowingTheStrip()), 0) << "the strip is on screen";

    PostMessageA(window, WM_CLOSE, 0, 0);

    ASSERT_TRUE(run.Ended(10000));
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_EQ(watcher.Seen().size(), 1u) << "no box on the way out";
}

} // namespace
