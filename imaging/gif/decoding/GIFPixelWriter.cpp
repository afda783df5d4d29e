#include "imaging/gif/decoding/GIFPixelWriter.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint32_t PassStart[4] = {0, 4, 2, 1};
constexpr std::uint32_t PassStep[4] = {8, 8, 4, 2};
}

GIFPixelWriter::GIFPixelWriter(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height)
    : pixels_(pixels), width_(width), height_(height), run_(pixels), runLeft_(width)
{
    if (width == 0 || height == 0)
        run_ = nullptr;
}

void GIFPixelWriter::Write(const std::uint8_t* indices, std::size_t count)
{
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

void GIFPixelWriter::Fill(std::uint8_t value)
{
    while (run_ != nullptr) {
        std::memset(run_, value, runLeft_);
        NextRow();
    }
}

void GIFPixelWriter::NextRow()
{
    std::uint32_t next = row_ + PassStep[pass_];
    while (next >= height_) {
        if (++pass_ == 4) {
            run_ = nullptr;
            return;
        }
        next = PassStart[pass_];
    }
    row_ = next;
    run_ = pixels_ + static_cast<std::size_t>(row_) * width_;
    runLeft_ = width_;
}
