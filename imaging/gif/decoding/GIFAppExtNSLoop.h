#pragma once
// The loop extension ("NETSCAPE2.0", "ANIMEXTS1.0"): loop count and buffer size.
#include <cstdint>

#include "imaging/gif/decoding/GIFApplicationExtension.h"

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;

    std::uint16_t Loops = 0;
    std::uint32_t BufferSize = 0;

protected:
    // Sub-blocks until a zero-length one or the end of the stream. The low three bits of a sub-block's
    // first byte give its kind: 1 loop count (at least 3 bytes), 2 buffer size (at least 5 bytes), else
    // "Invalid GIF data"; the rest of a sub-block and other kinds are skipped.
    void ReadData(GIFByteStream& stream) override;
};
