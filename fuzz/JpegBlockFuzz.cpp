// Reads any bytes as a JPEG picture block and decodes what was read, twice: whatever the input, no crash,
// no sanitizer report, and only the picture's own errors. The last input byte chooses the settings.
#include <cstddef>
#include <cstdint>

#include "common/Errors.h"
#include "imaging/jpeg/JPEGImage.h"

namespace {
// Small outputs keep every run fast and within the fuzzer's memory limit.
constexpr std::uint64_t FuzzMaxDecodePixels = 1u << 18;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t choice = size > 0 ? data[size - 1] : 0;
    TJPEGImage image((choice & 1) != 0);
    image.Settings.Grayscale = (choice & 2) != 0;
    image.Settings.Performance = (choice & 4) != 0 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality;
    image.Settings.Scale = static_cast<TJPEGScale>((choice >> 3) & 3);
    image.MaxDecodePixels = FuzzMaxDecodePixels;
    image.OnProgress = [](TProgressStage, int, const std::string&) {};
    try {
        image.ReadData(data, size);
    } catch (const EAppError&) {
    }
    for (int draw = 0; draw < 2; ++draw) {
        try {
            image.Bitmap();
        } catch (const EAppError&) {
        }
    }
    image.Width();
    return 0;
}
