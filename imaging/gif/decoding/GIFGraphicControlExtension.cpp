#include "imaging/gif/decoding/GIFGraphicControlExtension.h"

#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFSubImage.h"

void TGIFGraphicControlExtension::ReadBody(GIFByteStream& stream)
{
    std::uint8_t bytes[6] = {};
    const std::size_t count = stream.Read(bytes, sizeof bytes);
    BlockSize = bytes[0];
    Packed = bytes[1];
    Delay = GIFWordAt(bytes + 2);
    TransparentColorIndex = bytes[4];
    Terminator = bytes[5];
    if (count < sizeof bytes)
        Warning(GIFMessage::PrematureEnd);
    else if (Transparent())
        Frame().MarkTransparent();
}
