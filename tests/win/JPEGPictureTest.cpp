// The JPEG picture as the update window's picture control draws it, onto a real device context.
#include <windows.h>

#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "common/HandlesWin32.h"
#include "imaging/jpeg/JPEGError.h"
#include "imaging/jpeg/JPEGPictureWin32.h"
#include "imaging/surface/PictureCanvasWin32.h"
#include "tests/unit/imaging/JpegTestStreams.h"

namespace {

constexpr int CanvasWidth = 48;
constexpr int CanvasHeight = 30;
constexpr std::uint32_t Background = 0x00123456;

// A memory device context drawing into a 32-bit top-down bitmap whose pixels the test reads.
class Canvas {
public:
    Canvas() : dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), CanvasWidth, -CanvasHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_.Get());
        for (int i = 0; i < CanvasWidth * CanvasHeight; ++i)
            bits_[i] = Background;
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    std::uint32_t Pixel(int x, int y) const
    {
        GdiFlush();
        return bits_[y * CanvasWidth + x] & 0xFFFFFF;
    }

private:
    HDC dc_;
    BitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

std::unique_ptr<Picture> MakePicture(const jpegtest::Bytes& stream)
{
    PictureRegistry registry;
    RegisterJPEGImage(registry, false);
    const PictureFactory* factory = registry.Find("TJPEGImage");
    EXPECT_NE(factory, nullptr);
    return (*factory)(stream.data(), stream.size());
}

} // namespace

TEST(JPEGPictureTest, DrawsItsDecodedPixelsOneToOne)
{
    const std::unique_ptr<Picture> picture = MakePicture(jpegtest::Encode(jpegtest::Ramps(37, 21, 3), false));
    ASSERT_EQ(picture->Width(), 37);
    ASSERT_EQ(picture->Height(), 21);
    Canvas canvas;
    PictureCanvas target(canvas.Dc());
    picture->Draw(target, {3, 2, 3 + 37, 2 + 21});

    const PixelSurface& pixels = static_cast<JPEGPicture&>(*picture).Image.Bitmap().Pixels;
    for (int y = 0; y < CanvasHeight; ++y)
        for (int x = 0; x < CanvasWidth; ++x) {
            const bool inside = x >= 3 && y >= 2 && x < 40 && y < 23;
            EXPECT_EQ(canvas.Pixel(x, y), inside ? pixels.Pixel(x - 3, y - 2) & 0xFFFFFF : Background)
                << "at " << x << "," << y;
        }
}

TEST(JPEGPictureTest, EmptyStreamFailsTheFirstDrawOnly)
{
    const std::unique_ptr<Picture> picture = MakePicture({});
    Canvas canvas;
    PictureCanvas target(canvas.Dc());
    EXPECT_THROW(picture->Draw(target, {0, 0, 10, 10}), EJPEG);
    EXPECT_NO_THROW(picture->Draw(target, {0, 0, 10, 10}));
    EXPECT_EQ(canvas.Pixel(0, 0), Background);
}
