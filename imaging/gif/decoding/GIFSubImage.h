#pragma once
// One frame: its image descriptor, local colour table, colour indices and the extensions that preceded
// it; its bitmap, transparency mask and palette are made on first use and kept.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "imaging/gif/decoding/GIFColorMap.h"
#include "imaging/gif/decoding/GIFExtension.h"
#include "imaging/gif/decoding/GIFFrameBitmap.h"
#include "imaging/gif/decoding/GIFItem.h"
#include "imaging/surface/ColorPalette.h"

class TGIFGraphicControlExtension;
class TGIFImage;

struct TGIFImageDescriptor {
    std::uint8_t Separator = 0x2C; // as read, not tested
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t Packed = 0; // bit 7 local table, bit 6 interlaced, bit 5 sorted, bits 0-2 table size

    bool HasLocalColorMap() const { return (Packed & 0x80) != 0; }
    bool Interlaced() const { return (Packed & 0x40) != 0; }
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage& image);

    TGIFImage& Image() const { return *image_; }

    TGIFImageDescriptor Descriptor;
    TGIFLocalColorMap ColorMap; // empty when the frame has none
    // Width x Height colour indices, rows top to bottom (de-interlaced); empty for a frame without image.
    std::vector<std::uint8_t> Data;

    const std::vector<std::unique_ptr<TGIFExtension>>& Extensions() const { return extensions_; }
    // Appends in stream order; the first graphic control extension becomes the frame's.
    void AddExtension(std::unique_ptr<TGIFExtension> extension);
    // The first graphic control extension, or null.
    const TGIFGraphicControlExtension* GraphicControlExtension() const { return graphicControl_; }
    // Set when any of the frame's graphic control extensions has the transparency flag.
    bool Transparent() const { return transparent_; }
    void MarkTransparent() { transparent_ = true; }
    // The graphic control extension's transparent index (0 without one).
    std::uint8_t TransparentColorIndex() const;

    // No pixel data, or a width or height of 0.
    bool Empty() const;
    // The local table when it has entries, else the global one.
    const TGIFColorMap& ActiveColorMap() const;

    // Rendered on first use ("Rendering..." progress) and kept; null for an empty frame.
    const GIFIndexedBitmap* FrameBitmap();
    // Renders again when the frame is transparent and no mask has been attempted yet; null when there
    // is none (no pixel equals the transparent index, or the frame is not transparent).
    const GIFBitMask* TransparencyMask();
    bool MaskNeeded() const { return maskNeeded_; }

    // The frame's palette, worked out once: the 216-colour palette when dithering applies, else its
    // colours (SourcePalette).
    const ColorPalette& Palette();
    // The colours its indices stand for: the local table's export, else the picture's colours.
    ColorPalette SourcePalette() const;

private:
    void Render();
    GIFIndexedBitmap RenderBitmap();

    TGIFImage* image_;
    std::vector<std::unique_ptr<TGIFExtension>> extensions_;
    const TGIFGraphicControlExtension* graphicControl_ = nullptr;
    bool transparent_ = false;
    std::optional<GIFIndexedBitmap> bitmap_;
    std::optional<GIFBitMask> mask_;
    bool maskNeeded_ = true;
    std::optional<ColorPalette> palette_;
};
