#pragma once
// The settings of a JPEG picture, fixed when it is created.
#include <cstdint>

enum class TJPEGPerformance {
    jpBestQuality, // accurate integer transform; two-pass quantisation with error diffusion
    jpBestSpeed    // fast integer transform; one-pass quantisation with ordered dithering
};

enum class TJPEGPixelFormat {
    jf24Bit, // true colour
    jf8Bit   // at most 236 colours and their palette
};

// Output size = image size / 2^scale.
enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

struct TJPEGSettings {
    int CompressionQuality = 90; // for encoding, which this program does not do
    bool Grayscale = false;      // ask the decoder for gray output
    TJPEGPerformance Performance = TJPEGPerformance::jpBestQuality;
    TJPEGPixelFormat PixelFormat = TJPEGPixelFormat::jf24Bit;
    bool ProgressiveDisplay = false; // scan-by-scan display is not provided: the picture is decoded whole
    TJPEGScale Scale = TJPEGScale::jsFullSize;
    bool Smoothing = true; // block smoothing, which only a multi-scan stream uses

    int ScaleDenominator() const { return 1 << static_cast<int>(Scale); }
};

// The settings at creation: 8-bit pixels on a palette display (8 bits per pixel or fewer), else 24-bit.
inline TJPEGSettings InitialJPEGSettings(bool paletteDisplay)
{
    TJPEGSettings settings;
    if (paletteDisplay)
        settings.PixelFormat = TJPEGPixelFormat::jf8Bit;
    return settings;
}
