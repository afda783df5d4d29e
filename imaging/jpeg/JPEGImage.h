#pragma once
// A JPEG picture: its compressed data (shared between copies), its settings, and the bitmap decoded on
// first use and kept.
//
// Decisions where the format leaves a choice:
// - The library is libjpeg-turbo with its version 62 interface; "JPEG error #%d" carries its message codes.
// - The decoded bitmap is a 32-bit surface in blue, green, red, alpha order (alpha 255 where decoded); with
//   8-bit output its pixels are the quantised colours and Palette holds them (JPEGDecompressor.h).
// - A block length below 0 is refused like a short block ("Stream read error").
// - A header that the library refuses raises EJPEG from ReadData and leaves the picture without data.
// - An output above MaxDecodePixels pixels (64 Mi by default) raises "JPEG error #%d" with the library's
//   code for an image too big, instead of taking gigabytes.
// - Before decoding, a scale other than full size gives the header's size divided by its denominator,
//   rounded up, as the library does.
// - Progress notices carry no message text; the hooks run on the thread that reads or draws and must not
//   raise.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "imaging/jpeg/JPEGBitmap.h"
#include "imaging/jpeg/JPEGData.h"
#include "imaging/jpeg/JPEGProgress.h"
#include "imaging/jpeg/JPEGSettings.h"
#include "imaging/surface/ProgressHook.h"

class TJPEGImage {
public:
    static constexpr std::uint64_t DefaultMaxDecodePixels = std::uint64_t(64) << 20;

    // paletteDisplay: the display has 8 bits per pixel or fewer (the pixel format becomes 8-bit).
    explicit TJPEGImage(bool paletteDisplay = false);

    TJPEGSettings Settings;
    TProgressHook OnProgress;        // unset: no notices
    std::function<void()> OnChange;  // unset: no notice
    JPEGProgressClock Clock;         // milliseconds of a steady clock unless replaced
    std::uint64_t MaxDecodePixels = DefaultMaxDecodePixels;

    // Reads a picture data block: a 4-byte signed little-endian length L, then L bytes of JPEG stream,
    // read whole ("Stream read error" when the block is shorter). Drops the decoded bitmap; reads the
    // header's facts unless L is 0 (then the picture keeps no data); then notifies the change. Returns
    // the bytes used, 4 + L.
    std::size_t ReadData(const std::uint8_t* block, std::size_t size);
    // The same after the length: takes `size` bytes of stream (0: no data).
    void ReadStream(const std::uint8_t* stream, std::size_t size);

    // Null before any data was read, and after a block of length 0.
    const std::shared_ptr<const TJPEGData>& Data() const { return data_; }
    bool ProgressiveEncoding() const { return progressiveEncoding_; }
    bool Empty() const { return !data_; }

    // The decoded bitmap's size once there is one, else the header's (at the scale set).
    int Width() const;
    int Height() const;
    // Refused: "Cannot change the size of a JPEG image".
    void SetWidth(int width);
    void SetHeight(int height);

    bool Decoded() const { return bitmap_.has_value(); }
    // What a draw shows: decoded on the first call and kept. A decoding error is raised from that call
    // only; the bitmap kept then holds the rows decoded before it (or nothing), and later calls return
    // it without decoding again.
    const TJPEGBitmap& Bitmap();

private:
    void Decode();
    void Progress(TProgressStage stage, int percent) const;
    int ScaledSize(int size) const;

    std::shared_ptr<const TJPEGData> data_;
    bool progressiveEncoding_ = false;
    std::optional<TJPEGBitmap> bitmap_;
};
