#pragma once
// A 32-bit pixel surface: rows top to bottom, four bytes per pixel in blue, green, red, alpha order (the
// layout of a top-down 32-bit device-independent bitmap), rows packed with no padding. A pixel value is
// written 0xAARRGGBB. Decoders write straight into its rows; frame composition copies rectangles between
// surfaces; the drawing layer hands its bytes to the system as they are.
#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

class PixelSurface {
public:
    static constexpr std::size_t BytesPerPixel = 4;

    PixelSurface() = default;
    // Every pixel 0 (transparent black). A negative size, or one whose bytes no address space of this
    // build can hold (a 65535 x 65535 picture in a 32-bit program), is refused with std::length_error.
    PixelSurface(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Bytes from one row to the next: Width() * 4, so always a multiple of 4.
    std::size_t Stride() const { return std::size_t(width_) * BytesPerPixel; }

    // 0 <= y < Height()
    std::uint8_t* Row(int y) { return bits_.data() + std::size_t(y) * Stride(); }
    const std::uint8_t* Row(int y) const { return bits_.data() + std::size_t(y) * Stride(); }
    const std::uint8_t* Bits() const { return bits_.data(); }

    // 0 <= x < Width(), 0 <= y < Height()
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t value);

    void Fill(std::uint32_t value);
    // Fills the part of `rect` inside the surface.
    void Fill(PixelRect rect, std::uint32_t value);
    // Copies the `from` rectangle of `source` with its top-left corner at (x, y), clipped to both surfaces.
    // `source` must not be this surface.
    void Blit(const PixelSurface& source, PixelRect from, int x, int y);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bits_;
};
