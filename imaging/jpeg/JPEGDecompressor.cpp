#include "imaging/jpeg/JPEGDecompressor.h"

#include <algorithm>
#include <vector>

#include <jerror.h>

namespace {

constexpr int MaxQuantisedColors = 236;

} // namespace

JPEGDecompressor::JPEGDecompressor(const std::uint8_t* data, std::size_t size)
{
    errors_.Install();
    info_.err = &errors_.Manager;
    errors_.Guarded([this] { jpeg_create_decompress(&info_); });
    source_.Install(info_, data, size);
}

JPEGDecompressor::~JPEGDecompressor()
{
    jpeg_destroy_decompress(&info_);
}

JPEGHeaderFacts JPEGDecompressor::ReadHeader()
{
    errors_.Guarded([this] { jpeg_read_header(&info_, TRUE); });
    return {static_cast<int>(info_.image_width), static_cast<int>(info_.image_height),
            info_.jpeg_color_space == JCS_GRAYSCALE, jpeg_has_multiple_scans(&info_) != FALSE};
}

void JPEGDecompressor::Decode(const JPEGDecodeRequest& request, TJPEGBitmap& bitmap)
{
    progress_.Install(info_, request.Progress, request.Clock);
    errors_.Guarded([this] { jpeg_read_header(&info_, TRUE); });
    Configure(request.Settings);
    errors_.Guarded([this] { jpeg_calc_output_dimensions(&info_); });
    CheckSize(request.MaxPixels);
    errors_.Guarded([this] { jpeg_start_decompress(&info_); });
    bitmap.Pixels = PixelSurface(static_cast<int>(info_.output_width), static_cast<int>(info_.output_height));
    if (info_.quantize_colors)
        bitmap.Palette = PaletteOfColorMap();
    ReadRows(bitmap);
    errors_.Guarded([this] { jpeg_finish_decompress(&info_); });
}

void JPEGDecompressor::Configure(const TJPEGSettings& settings)
{
    info_.scale_num = 1;
    info_.scale_denom = static_cast<unsigned>(settings.ScaleDenominator());
    info_.do_block_smoothing = settings.Smoothing ? TRUE : FALSE;
    if (settings.Grayscale)
        info_.out_color_space = JCS_GRAYSCALE;
    const bool gray = info_.out_color_space == JCS_GRAYSCALE;
    if (settings.PixelFormat == TJPEGPixelFormat::jf8Bit || gray) {
        info_.quantize_colors = TRUE;
        info_.desired_number_of_colors = MaxQuantisedColors;
        if (!gray)
            info_.out_color_space = JCS_RGB; // the quantisers work on three components in any order
    } else {
        info_.out_color_space = JCS_EXT_BGRA;
    }
    const bool bestQuality = settings.Performance == TJPEGPerformance::jpBestQuality;
    info_.dct_method = bestQuality ? JDCT_ISLOW : JDCT_IFAST;
    info_.two_pass_quantize = bestQuality ? TRUE : FALSE;
    info_.dither_mode = bestQuality ? JDITHER_FS : JDITHER_ORDERED;
}

void JPEGDecompressor::CheckSize(std::uint64_t maxPixels) const
{
    if (std::uint64_t(info_.output_width) * info_.output_height > maxPixels)
        throw EJPEG(JERR_IMAGE_TOO_BIG);
}

void JPEGDecompressor::ReadRows(TJPEGBitmap& bitmap)
{
    PixelSurface& surface = bitmap.Pixels;
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(std::max(info_.rec_outbuf_height, 1)));
    errors_.Guarded([&] {
        while (info_.output_scanline < info_.output_height) {
            const int first = static_cast<int>(info_.output_scanline);
            const int count = std::min(static_cast<int>(rows.size()), surface.Height() - first);
            for (int i = 0; i < count; ++i)
                rows[std::size_t(i)] = surface.Row(first + i);
            const int read = static_cast<int>(jpeg_read_scanlines(&info_, rows.data(), static_cast<JDIMENSION>(count)));
            if (info_.quantize_colors)
                WidenIndexedRows(bitmap, first, read);
        }
    });
}

// Each row holds one index byte per pixel at its start; widening from the right end leaves every index
// unread until its own pixel is written.
void JPEGDecompressor::WidenIndexedRows(TJPEGBitmap& bitmap, int first, int count)
{
    for (int y = first; y < first + count; ++y) {
        std::uint8_t* row = bitmap.Pixels.Row(y);
        for (int x = bitmap.Pixels.Width() - 1; x >= 0; --x) {
            const PaletteEntry& color = bitmap.Palette[row[x]];
            std::uint8_t* pixel = row + std::size_t(x) * PixelSurface::BytesPerPixel;
            pixel[0] = color.peBlue;
            pixel[1] = color.peGreen;
            pixel[2] = color.peRed;
            pixel[3] = 0xFF;
        }
    }
}

ColorPalette JPEGDecompressor::PaletteOfColorMap() const
{
    const bool gray = info_.out_color_components == 1;
    ColorPalette palette(static_cast<std::size_t>(info_.actual_number_of_colors));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::uint8_t red = info_.colormap[0][i];
        palette[i] = {red, gray ? red : info_.colormap[1][i], gray ? red : info_.colormap[2][i], 0};
    }
    return palette;
}
