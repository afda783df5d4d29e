#include "imaging/gif/decoding/GIFColorMap.h"

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"

std::uint32_t TGIFColorMap::ColorValue(std::size_t index) const
{
    if (index >= entries_.size()) {
        Warning(GIFMessage::InvalidColorIndex);
        if (entries_.empty())
            throw GIFException(GIFMessage::ColorTableEmpty);
        index = 0;
    }
    const TGIFColor& c = entries_[index];
    return c.Red | (static_cast<std::uint32_t>(c.Green) << 8) | (static_cast<std::uint32_t>(c.Blue) << 16);
}

ColorPalette TGIFColorMap::ExportPalette() const
{
    ColorPalette palette;
    palette.reserve(entries_.size());
    for (const TGIFColor& c : entries_)
        palette.push_back({c.Red, c.Green, c.Blue, PaletteNoCollapse});
    return palette;
}

void TGIFColorMap::LoadFromStream(GIFByteStream& stream, std::size_t count)
{
    std::uint8_t bytes[MaxCount * 3];
    stream.ReadExact(bytes, count * 3);
    entries_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        entries_[i] = {bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]};
}
