#pragma once
// The signature and the logical screen descriptor as stored, and the global colour table.
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFColorMap.h"
#include "imaging/gif/decoding/GIFItem.h"

class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(const GIFWarningSink& warnings) : TGIFItem(warnings), ColorMap(warnings) {}

    std::array<std::uint8_t, 6> Signature{}; // "GIF" and a version that is not checked
    std::uint16_t ScreenWidth = 0;
    std::uint16_t ScreenHeight = 0;
    std::uint8_t Packed = 0; // bit 7 global table, bits 4-6 colour resolution, bit 3 sorted, bits 0-2 size
    std::uint8_t BackgroundIndex = 0;
    std::uint8_t AspectRatio = 0; // kept, not used
    TGIFGlobalColorMap ColorMap;

    bool HasGlobalColorMap() const { return (Packed & 0x80) != 0; }

    // Reads the signature (again after a 4-byte prefix counted from `start` when the first bytes are
    // not "GIF"; else "Invalid GIF signature"), the screen descriptor and the global colour table.
    // Short parts raise "Premature end of data".
    void LoadFromStream(GIFByteStream& stream, std::size_t start);
    void Clear();
};
