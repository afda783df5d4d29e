// Loads any bytes as a GIF, then renders every frame with its mask and palette: whatever the input, no
// crash and no sanitizer report. The last input byte chooses plain or dithered rendering.
#include <cstddef>
#include <cstdint>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFImage.h"

namespace {
// Small frames keep every run fast and within the fuzzer's memory limit.
constexpr std::uint64_t FuzzMaxFramePixels = 1u << 20;

void RenderFrame(TGIFSubImage& frame)
{
    try {
        frame.FrameBitmap();
        frame.TransparencyMask();
        frame.Palette();
    } catch (const GIFException&) {
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TGIFImage image;
    image.MaxFramePixels = FuzzMaxFramePixels;
    image.OnWarning = [](const TGIFItem*, int, const std::string&) {};
    image.OnProgress = [](TProgressStage, int, const std::string&) {};
    GIFByteStream stream(data, size);
    try {
        image.LoadFromStream(stream);
    } catch (const GIFException&) {
    }
    image.RenderOptions.DitherOnPaletteDisplay = size == 0 || (data[size - 1] & 1) == 0;
    for (std::size_t i = 0; i < image.Images.Count(); ++i)
        RenderFrame(image.Images[i]);
    try {
        image.BackgroundColor();
        image.Palette();
    } catch (const GIFException&) {
    }
    return 0;
}
