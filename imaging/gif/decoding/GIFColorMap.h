#pragma once
// Colour tables: up to 256 entries of red, green, blue in stream order.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFItem.h"
#include "imaging/surface/ColorPalette.h"

struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
};

class TGIFColorMap : public TGIFItem {
public:
    static constexpr std::size_t MaxCount = 256;

    using TGIFItem::TGIFItem;

    std::size_t Count() const { return entries_.size(); }
    // index < Count()
    const TGIFColor& Entry(std::size_t index) const { return entries_[index]; }
    // The entry as red + green * 256 + blue * 65536. An index outside the table gives the warning
    // "Invalid color index" and uses entry 0; an empty table then raises "Color table is empty".
    std::uint32_t ColorValue(std::size_t index) const;
    // One palette entry per table entry, in order, each kept from collapsing onto others.
    ColorPalette ExportPalette() const;

    // Reads `count` (2..256) entries; a short table raises "Premature end of data".
    void LoadFromStream(GIFByteStream& stream, std::size_t count);
    void Clear() { entries_.clear(); }

private:
    std::vector<TGIFColor> entries_;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    using TGIFColorMap::TGIFColorMap;
};
