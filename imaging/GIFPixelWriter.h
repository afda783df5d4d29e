#pragma once
// Places decoded colour indices into a frame's pixels (width x height bytes, rows top to bottom). A
// non-interlaced frame is one run over the whole buffer, so whole strings are copied at once; an
// interlaced frame is filled row by row in four passes (rows 0, 8, 16, ...; 4, 12, ...; 2, 6, ...;
// 1, 3, ...), a pass without a row inside the frame giving way to the next at once.
#include <cstddef>
#include <cstdint>

class GIFPixelWriter {
public:
    GIFPixelWriter(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, bool interlaced);

    bool Full() const { return run_ == nullptr; }
    // Copies `count` indices; those beyond the last pixel are dropped.
    void Write(const std::uint8_t* indices, std::size_t count);

private:
    void NextRow();

    std::uint8_t* pixels_;
    std::uint32_t width_;
    std::uint32_t height_;
    bool interlaced_;
    unsigned pass_ = 0;         // 0..3
    std::uint32_t row_ = 0;     // 0..height-1 while not full
    std::uint8_t* run_;         // the current run, null when every pixel is written
    std::size_t runLeft_;       // bytes left in the run
};
