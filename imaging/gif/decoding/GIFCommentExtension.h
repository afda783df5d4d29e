#pragma once
// Comment (label 0xFE): one text line per data sub-block; stored, never shown.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFExtension.h"
#include "imaging/gif/decoding/GIFSubBlocks.h"

class TGIFCommentExtension : public TGIFExtension {
public:
    static constexpr std::uint8_t ExtensionLabel = 0xFE;

    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return ExtensionLabel; }

    std::vector<std::string> Text;

protected:
    void ReadBody(GIFByteStream& stream) override { Text = ReadTextLines(stream); }
};
