#pragma once
// An application extension of an identifier nobody registered: its data sub-blocks kept as raw blocks.
#include <cstdint>
#include <vector>

#include "imaging/gif/decoding/GIFApplicationExtension.h"

struct TGIFBlock {
    std::vector<std::uint8_t> Data; // 1..255 bytes
    std::size_t Size() const { return Data.size(); }
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;

    std::vector<TGIFBlock> Blocks;

protected:
    // Sub-blocks until a zero-length one or the end of the stream; one cut short raises "Premature end
    // of data".
    void ReadData(GIFByteStream& stream) override;
};
