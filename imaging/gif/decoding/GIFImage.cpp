#include "imaging/gif/decoding/GIFImage.h"

#include <memory>

#include "imaging/gif/decoding/GIFBlockCodes.h"
#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFFrameLoader.h"
#include "imaging/gif/decoding/GIFLZWDecoder.h"
#include "imaging/gif/decoding/GIFMessages.h"

namespace {
constexpr char LoadingText[] = "Loading...";

// The first byte of the next block, zero bytes skipped; false at the end of the stream.
bool NextBlockByte(GIFByteStream& stream, std::uint8_t& value)
{
    while (stream.ReadByte(value))
        if (value != 0)
            return true;
    return false;
}

int PercentOf(const GIFByteStream& stream)
{
    return static_cast<int>((std::uint64_t(stream.Position()) * 100 + stream.Size() / 2) / stream.Size());
}
}

void TGIFImage::LoadFromStream(GIFByteStream& stream)
{
    Clear();
    const std::size_t start = stream.Position();
    Progress(TProgressStage::psStarting, 0, LoadingText);
    try {
        Header.LoadFromStream(stream, start);
        ReadFrames(stream);
        ReadTrailer(stream);
    } catch (...) {
        stream.Seek(start);
        Progress(TProgressStage::psEnding, 0, LoadingText);
        throw;
    }
    Progress(TProgressStage::psEnding, 100, LoadingText);
}

void TGIFImage::ReadFrames(GIFByteStream& stream)
{
    std::uint8_t next = 0;
    if (!NextBlockByte(stream, next))
        return;
    const auto decoder = std::make_unique<GIFLZWDecoder>();
    while (next != GIFTrailer) {
        stream.StepBack();
        if (next != GIFExtensionIntroducer && next != GIFImageSeparator) {
            Warn(nullptr, GIFMessage::UnknownBlockType);
            stream.StepBack(); // the trailer check reads the byte before the unknown one
            return;
        }
        auto frame = std::make_unique<TGIFSubImage>(*this);
        LoadFrame(*frame, stream, *decoder);
        AddFrame(std::move(frame));
        Progress(TProgressStage::psRunning, PercentOf(stream), LoadingText);
        if (!NextBlockByte(stream, next))
            return;
    }
    stream.StepBack();
}

void TGIFImage::ReadTrailer(GIFByteStream& stream) const
{
    std::uint8_t trailer = 0;
    if (stream.ReadByte(trailer) && trailer != GIFTrailer)
        Warn(nullptr, GIFMessage::InvalidTrailer);
}

TGIFImage::~TGIFImage()
{
    if (listener_ != nullptr)
        listener_->ImageEnding();
}

void TGIFImage::Clear()
{
    if (listener_ != nullptr)
        listener_->FramesClearing();
    Images.Clear();
    Header.Clear();
    palette_.reset();
}

void TGIFImage::AddFrame(std::unique_ptr<TGIFSubImage> frame)
{
    if (listener_ != nullptr)
        listener_->FrameAdding();
    Images.Add(std::move(frame));
}

void TGIFImage::Changed() const
{
    if (OnChange)
        OnChange();
}

bool TGIFImage::DitheringApplies() const
{
    return RenderOptions.DitherFrames && (!RenderOptions.DitherOnPaletteDisplay || RenderOptions.PaletteDisplay);
}

const ColorPalette& TGIFImage::Palette()
{
    if (!palette_)
        palette_ = DitheringApplies() ? WebPalette216() : SourcePalette();
    return *palette_;
}

ColorPalette TGIFImage::SourcePalette() const
{
    if (Header.ColorMap.Count() > 0)
        return Header.ColorMap.ExportPalette();
    if (workingOutPalette_ || Empty())
        throw GIFException(GIFMessage::NoColorTable);
    workingOutPalette_ = true;
    try {
        ColorPalette palette = Images[0].SourcePalette();
        workingOutPalette_ = false;
        return palette;
    } catch (...) {
        workingOutPalette_ = false;
        throw;
    }
}

void TGIFImage::Warn(const TGIFItem* sender, const std::string& message) const
{
    if (OnWarning)
        OnWarning(sender, GIFWarningSeverity, message);
}

void TGIFImage::Progress(TProgressStage stage, int percent, const std::string& message) const
{
    if (OnProgress)
        OnProgress(stage, percent, message);
}
