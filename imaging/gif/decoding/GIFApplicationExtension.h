#pragma once
// Application extension (label 0xFF): a block size, eleven identifier bytes (eight of name, three of
// authentication code), then data sub-blocks that each kind reads itself.
//
// Decisions: a block size above 11 is refused like one below 10 ("Unsupported Application Extension
// block size"); an identifier cut short raises "Premature end of data".
#include <array>
#include <cstdint>
#include <memory>

#include "imaging/gif/decoding/GIFExtension.h"

using TGIFApplicationIdentifier = std::array<std::uint8_t, 11>;

class TGIFApplicationExtension : public TGIFExtension {
public:
    static constexpr std::uint8_t ExtensionLabel = 0xFF;

    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return ExtensionLabel; }

    std::uint8_t BlockSize = 0;
    // With block size 10: the ten bytes and the first sub-block's length byte after them.
    TGIFApplicationIdentifier Identifier{};

protected:
    void ReadBody(GIFByteStream& stream) final;
    virtual void ReadData(GIFByteStream& stream) = 0;
};

// Creates the application extension that the identifier after the label selects: a registered one for
// block size 11, else the unknown kind. The stream stands just after the label and is left there.
std::unique_ptr<TGIFExtension> CreateApplicationExtension(TGIFSubImage& frame, GIFByteStream& stream);
