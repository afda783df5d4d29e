#include "imaging/gif/decoding/GIFApplicationExtension.h"

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFExtensionRegistry.h"
#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFUnknownAppExtension.h"

namespace {
constexpr std::uint8_t ShortBlockSize = 10;
constexpr std::uint8_t FullBlockSize = 11;
}

void TGIFApplicationExtension::ReadBody(GIFByteStream& stream)
{
    BlockSize = stream.ReadExactByte();
    if (BlockSize == ShortBlockSize) {
        Identifier = {};
        stream.ReadExact(Identifier.data(), Identifier.size());
        stream.StepBack();
    } else if (BlockSize == FullBlockSize) {
        stream.ReadExact(Identifier.data(), Identifier.size());
    } else {
        throw GIFException(GIFMessage::UnsupportedAppBlockSize);
    }
    ReadData(stream);
}

std::unique_ptr<TGIFExtension> CreateApplicationExtension(TGIFSubImage& frame, GIFByteStream& stream)
{
    const std::size_t start = stream.Position();
    std::uint8_t blockSize = 0;
    TGIFApplicationIdentifier identifier{};
    TGIFAppExtensionFactory factory = nullptr;
    if (stream.ReadByte(blockSize) && blockSize == FullBlockSize &&
        stream.Read(identifier.data(), identifier.size()) == identifier.size())
        factory = FindApplicationExtension(identifier);
    stream.Seek(start);
    if (factory != nullptr)
        return factory(frame);
    return std::make_unique<TGIFUnknownAppExtension>(frame);
}
