#include "imaging/gif/decoding/GIFHeader.h"

#include "imaging/gif/decoding/GIFBlockCodes.h"
#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"

namespace {
constexpr std::size_t SignaturePrefixSize = 4;

bool IsGIFSignature(const std::array<std::uint8_t, 6>& signature)
{
    const char expected[] = "GIF";
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t c = signature[i];
        const std::uint8_t upper = (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 32) : c;
        if (upper != static_cast<std::uint8_t>(expected[i]))
            return false;
    }
    return true;
}
}

void TGIFHeader::LoadFromStream(GIFByteStream& stream, std::size_t start)
{
    stream.ReadExact(Signature.data(), Signature.size());
    if (!IsGIFSignature(Signature)) {
        stream.Seek(start);
        stream.Skip(SignaturePrefixSize);
        stream.ReadExact(Signature.data(), Signature.size());
        if (!IsGIFSignature(Signature))
            throw GIFException(GIFMessage::InvalidSignature);
    }
    std::uint8_t descriptor[7];
    stream.ReadExact(descriptor, sizeof descriptor);
    ScreenWidth = GIFWordAt(descriptor);
    ScreenHeight = GIFWordAt(descriptor + 2);
    Packed = descriptor[4];
    BackgroundIndex = descriptor[5];
    AspectRatio = descriptor[6];
    if (HasGlobalColorMap())
        ColorMap.LoadFromStream(stream, GIFColorTableSize(Packed));
}

void TGIFHeader::Clear()
{
    Signature = {};
    ScreenWidth = ScreenHeight = 0;
    Packed = BackgroundIndex = AspectRatio = 0;
    ColorMap.Clear();
}
