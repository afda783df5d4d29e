#pragma once
// Places the colour indices of an interlaced frame, decoded in stream order, into its pixels (width x
// height bytes, rows top to bottom): row by row in four passes (rows 0, 8, 16, ...; 4, 12, ...; 2, 6, ...;
// 1, 3, ...), a pass without a row inside the frame giving way to the next at once.
#include <cstddef>
#include <cstdint>

class GIFPixelWriter {
public:
    GIFPixelWriter(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height);

    // Copies `count` indices; those beyond the last pixel are dropped.
    void Write(const std::uint8_t* indices, std::size_t count);
    // Sets every pixel not written yet to `value`.
    void Fill(std::uint8_t value);

private:
    void NextRow();

    std::uint8_t* pixels_;
    std::uint32_t width_;
    std::uint32_t height_;
    unsigned pass_ = 0;         // 0..3
    std::uint32_t row_ = 0;     // 0..height-1 while not full
    std::uint8_t* run_;         // the current row's unwritten part, null when every pixel is written
    std::size_t runLeft_;       // bytes left in it
};
