#include "imaging/gif/decoding/GIFSubImage.h"

#include "imaging/gif/decoding/GIFDitherer.h"
#include "imaging/gif/decoding/GIFFrameRenderer.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "imaging/gif/decoding/GIFImage.h"

TGIFSubImage::TGIFSubImage(TGIFImage& image) : TGIFItem(image), ColorMap(image), image_(&image) {}

namespace {
constexpr char RenderingText[] = "Rendering...";
}

void TGIFSubImage::AddExtension(std::unique_ptr<TGIFExtension> extension)
{
    if (graphicControl_ == nullptr)
        graphicControl_ = dynamic_cast<const TGIFGraphicControlExtension*>(extension.get());
    extensions_.push_back(std::move(extension));
}

std::uint8_t TGIFSubImage::TransparentColorIndex() const
{
    return graphicControl_ != nullptr ? graphicControl_->TransparentColorIndex : 0;
}

bool TGIFSubImage::Empty() const
{
    return Data.empty() || Descriptor.Width == 0 || Descriptor.Height == 0;
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const
{
    if (ColorMap.Count() > 0)
        return ColorMap;
    return Image().Header.ColorMap;
}

const GIFIndexedBitmap* TGIFSubImage::FrameBitmap()
{
    if (!bitmap_ && !Empty())
        Render();
    return bitmap_ ? &*bitmap_ : nullptr;
}

const GIFBitMask* TGIFSubImage::TransparencyMask()
{
    if (transparent_ && maskNeeded_ && !Empty())
        Render();
    return mask_ ? &*mask_ : nullptr;
}

const ColorPalette& TGIFSubImage::Palette()
{
    if (!palette_)
        palette_ = Image().DitheringApplies() ? WebPalette216() : SourcePalette();
    return *palette_;
}

ColorPalette TGIFSubImage::SourcePalette() const
{
    if (ColorMap.Count() > 0)
        return ColorMap.ExportPalette();
    return Image().SourcePalette();
}

void TGIFSubImage::Render()
{
    const TGIFImage& image = Image();
    image.Progress(TProgressStage::psStarting, 0, RenderingText);
    try {
        bitmap_ = RenderBitmap();
        if (transparent_ && maskNeeded_) {
            mask_ = BuildTransparencyMask(Data.data(), Descriptor.Width, Descriptor.Height, TransparentColorIndex());
            maskNeeded_ = false;
        }
    } catch (...) {
        image.Progress(TProgressStage::psEnding, 0, RenderingText);
        throw;
    }
    image.Progress(TProgressStage::psEnding, 100, RenderingText);
}

GIFIndexedBitmap TGIFSubImage::RenderBitmap()
{
    const std::uint32_t height = Descriptor.Height;
    const TGIFImage& image = Image();
    const GIFRowProgress progress = [&](std::uint32_t row) {
        image.Progress(TProgressStage::psRunning, static_cast<int>(row * 100ull / height), RenderingText);
    };
    if (image.DitheringApplies())
        return RenderDitheredFrame(Data.data(), Descriptor.Width, height, SourcePalette(), progress);
    return RenderIndexedFrame(Data.data(), Descriptor.Width, height, Palette(), progress);
}
