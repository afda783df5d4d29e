#pragma once
// Graphic control (label 0xF9): disposal, user input, transparency, delay and transparent index.
#include <cstdint>

#include "imaging/gif/decoding/GIFExtension.h"

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    static constexpr std::uint8_t ExtensionLabel = 0xF9;

    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return ExtensionLabel; }

    // The six bytes after the label, as stored (zero where the stream ended early).
    std::uint8_t BlockSize = 0;
    std::uint8_t Packed = 0;
    std::uint16_t Delay = 0; // hundredths of a second
    std::uint8_t TransparentColorIndex = 0;
    std::uint8_t Terminator = 0;

    std::uint8_t Disposal() const { return (Packed >> 2) & 7; } // 0..7
    bool UserInput() const { return (Packed & 0x02) != 0; }
    bool Transparent() const { return (Packed & 0x01) != 0; }

protected:
    // Fewer than six bytes: warning "Premature end of data", the part present is kept. Otherwise a set
    // transparency flag marks the frame transparent.
    void ReadBody(GIFByteStream& stream) override;
};
