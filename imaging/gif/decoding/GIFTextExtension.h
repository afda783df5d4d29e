#pragma once
// Plain text (label 0x01): a text grid and its lines; stored, never drawn.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFExtension.h"

class TGIFTextExtension : public TGIFExtension {
public:
    static constexpr std::uint8_t ExtensionLabel = 0x01;

    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return ExtensionLabel; }

    std::uint8_t BlockSize = 0;
    std::uint16_t GridLeft = 0;
    std::uint16_t GridTop = 0;
    std::uint16_t GridWidth = 0;
    std::uint16_t GridHeight = 0;
    std::uint8_t CellWidth = 0;
    std::uint8_t CellHeight = 0;
    std::uint8_t ForegroundIndex = 0;
    std::uint8_t BackgroundIndex = 0;
    std::vector<std::string> Text;

protected:
    // The thirteen header bytes ("Premature end of data" when short), then the text sub-blocks.
    void ReadBody(GIFByteStream& stream) override;
};
