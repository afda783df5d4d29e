#pragma once
// One use of the JPEG library's decompression object (interface version 62) over a kept stream: the header
// facts, or a whole decoding into a bitmap. The object is released when this goes, whether the work
// succeeded or not. Fatal library errors raise EJPEG.
//
// Output: with 24-bit pixels the library writes blue, green, red, alpha (its extended colour space
// JCS_EXT_BGRA) straight into the surface rows. With 8-bit pixels (quantised to at most 236 colours, also
// whenever the output is gray) it writes colour indices at the start of each surface row, which are then
// widened in place to the colour map's pixels; the colour map becomes the palette (for gray output it is a
// ramp of grays). Surface rows are top-down and 4-byte aligned, so each read takes the library's
// recommended number of rows.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "imaging/jpeg/JPEGBitmap.h"
#include "imaging/jpeg/JPEGErrorManager.h"
#include "imaging/jpeg/JPEGProgress.h"
#include "imaging/jpeg/JPEGSettings.h"
#include "imaging/jpeg/JPEGStreamSource.h"

struct JPEGHeaderFacts {
    int Width = 0;
    int Height = 0;
    bool Grayscale = false;
    bool Progressive = false; // more than one scan
};

struct JPEGDecodeRequest {
    const TJPEGSettings& Settings;
    // A larger output raises EJPEG with the library's code for an image too big (JERR_IMAGE_TOO_BIG).
    std::uint64_t MaxPixels;
    const TProgressHook& Progress; // may be empty
    const JPEGProgressClock& Clock;
};

class JPEGDecompressor {
public:
    // `data` must outlive this object.
    JPEGDecompressor(const std::uint8_t* data, std::size_t size);
    ~JPEGDecompressor();
    JPEGDecompressor(const JPEGDecompressor&) = delete;
    JPEGDecompressor& operator=(const JPEGDecompressor&) = delete;

    JPEGHeaderFacts ReadHeader();
    // Reads the header and decodes; the bitmap is given its size before the rows are read, so a failure
    // leaves the rows decoded so far.
    void Decode(const JPEGDecodeRequest& request, TJPEGBitmap& bitmap);

private:
    void Configure(const TJPEGSettings& settings);
    void CheckSize(std::uint64_t maxPixels) const;
    void ReadRows(TJPEGBitmap& bitmap);
    static void WidenIndexedRows(TJPEGBitmap& bitmap, int first, int count);
    ColorPalette PaletteOfColorMap() const;

    jpeg_decompress_struct info_{};
    JPEGErrorManager errors_{};
    JPEGStreamSource source_{};
    JPEGProgress progress_{};
};
