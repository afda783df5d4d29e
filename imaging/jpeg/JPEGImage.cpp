#include "imaging/jpeg/JPEGImage.h"

#include <chrono>

#include "common/Errors.h"
#include "imaging/jpeg/JPEGDecompressor.h"

namespace {

std::uint64_t SteadyMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::int32_t ReadLength(const std::uint8_t* block, std::size_t size)
{
    if (size < 4)
        throw EReadError();
    const std::uint32_t value = block[0] | block[1] << 8 | block[2] << 16 | std::uint32_t(block[3]) << 24;
    const auto length = static_cast<std::int32_t>(value);
    if (length < 0 || std::size_t(length) > size - 4)
        throw EReadError();
    return length;
}

[[noreturn]] void RefuseResize()
{
    throw EAppError("Cannot change the size of a JPEG image");
}

} // namespace

TJPEGImage::TJPEGImage(bool paletteDisplay) : Settings(InitialJPEGSettings(paletteDisplay)), Clock(SteadyMilliseconds)
{
}

std::size_t TJPEGImage::ReadData(const std::uint8_t* block, std::size_t size)
{
    const std::int32_t length = ReadLength(block, size);
    ReadStream(block + 4, std::size_t(length));
    return 4 + std::size_t(length);
}

void TJPEGImage::ReadStream(const std::uint8_t* stream, std::size_t size)
{
    auto data = std::make_shared<TJPEGData>();
    data->Stream.assign(stream, stream + size);
    bitmap_.reset();
    data_.reset();
    progressiveEncoding_ = false;
    if (size > 0) {
        const JPEGHeaderFacts facts = JPEGDecompressor(data->Stream.data(), data->Stream.size()).ReadHeader();
        data->Width = facts.Width;
        data->Height = facts.Height;
        data->Grayscale = facts.Grayscale;
        progressiveEncoding_ = facts.Progressive;
        data_ = std::move(data);
    }
    if (OnChange)
        OnChange();
}

int TJPEGImage::Width() const
{
    if (bitmap_)
        return bitmap_->Pixels.Width();
    return data_ ? ScaledSize(data_->Width) : 0;
}

int TJPEGImage::Height() const
{
    if (bitmap_)
        return bitmap_->Pixels.Height();
    return data_ ? ScaledSize(data_->Height) : 0;
}

int TJPEGImage::ScaledSize(int size) const
{
    const int denominator = Settings.ScaleDenominator();
    return (size + denominator - 1) / denominator;
}

void TJPEGImage::SetWidth(int)
{
    RefuseResize();
}

void TJPEGImage::SetHeight(int)
{
    RefuseResize();
}

const TJPEGBitmap& TJPEGImage::Bitmap()
{
    if (!bitmap_)
        Decode();
    return *bitmap_;
}

void TJPEGImage::Decode()
{
    bitmap_.emplace(); // kept whatever happens next, so that a failure is shown once
    Progress(TProgressStage::psStarting, 0);
    try {
        const std::vector<std::uint8_t> none;
        const std::vector<std::uint8_t>& stream = data_ ? data_->Stream : none;
        JPEGDecompressor decompressor(stream.data(), stream.size());
        decompressor.Decode({Settings, MaxDecodePixels, OnProgress, Clock}, *bitmap_);
    } catch (...) {
        Progress(TProgressStage::psEnding, 0);
        throw;
    }
    Progress(TProgressStage::psEnding, 100);
}

void TJPEGImage::Progress(TProgressStage stage, int percent) const
{
    if (OnProgress)
        OnProgress(stage, percent, "");
}
