#include "imaging/GIFPixelWriter.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint32_t PassStart[4] = {0, 4, 2, 1};
constexpr std::uint32_t PassStep[4] = {8, 8, 4, 2};
// Strings up to this length that end inside the run are copied byte by byte: most strings of noisy
// pictures are a few bytes long, where a call into the library's copy costs more than the copy.
constexpr std::size_t ShortString = 8;
}

GIFPixelWriter::GIFPixelWriter(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                               bool interlaced)
    : pixels_(pixels), width_(width), height_(height), interlaced_(interlaced), run_(pixels),
      runLeft_(interlaced ? width : static_cast<std::size_t>(width) * height)
{
    if (width == 0 || height == 0)
        run_ = nullptr;
}

void GIFPixelWriter::Write(const std::uint8_t* indices, std::size_t count)
{
    if (count <= ShortString && count < runLeft_ && run_ != nullptr) {
        runLeft_ -= count;
        for (const std::uint8_t* end = indices + count; indices != end;)
            *run_++ = *indices++;
        return;
    }
    while (count > 0 && run_ != nullptr) {
        const std::size_t taken = std::min(count, runLeft_);
        std::memcpy(run_, indices, taken);
        run_ += taken;
        runLeft_ -= taken;
        indices += taken;
        count -= taken;
        if (runLeft_ == 0)
            NextRow();
    }
}

void GIFPixelWriter::NextRow()
{
    run_ = nullptr;
    if (!interlaced_)
        return;
    std::uint32_t next = row_ + PassStep[pass_];
    while (next >= height_) {
        if (++pass_ == 4)
            return;
        next = PassStart[pass_];
    }
    row_ = next;
    run_ = pixels_ + static_cast<std::size_t>(row_) * width_;
    runLeft_ = width_;
}
