#include "imaging/gif/decoding/GIFFrameLoader.h"

#include <memory>

#include "imaging/gif/decoding/GIFBlockCodes.h"
#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFExtensionRegistry.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/decoding/GIFLZWDecoder.h"
#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFSubImage.h"

namespace {
// The stream stands after an extension introducer.
std::unique_ptr<TGIFExtension> ReadExtension(TGIFSubImage& frame, GIFByteStream& stream)
{
    const TGIFExtensionFactory factory = FindExtension(stream.ReadExactByte());
    if (factory == nullptr)
        throw GIFException(GIFMessage::UnknownExtensionType);
    std::unique_ptr<TGIFExtension> extension = factory(frame, stream);
    stream.Seek(stream.Position() - 2);
    extension->LoadFromStream(stream);
    return extension;
}

// Extensions up to the image separator or trailer, which is left to be read next. False when the
// stream ended instead.
bool ReadExtensions(TGIFSubImage& frame, GIFByteStream& stream)
{
    std::uint8_t next = 0;
    if (!stream.ReadByte(next))
        return false;
    while (next != GIFImageSeparator && next != GIFTrailer) {
        if (next != GIFExtensionIntroducer) {
            frame.Warning(GIFMessage::InvalidExtensionIntroducer);
            break;
        }
        frame.AddExtension(ReadExtension(frame, stream));
        if (!stream.ReadByte(next))
            return false;
    }
    stream.StepBack();
    return true;
}

void ReadDescriptor(TGIFSubImage& frame, GIFByteStream& stream)
{
    std::uint8_t bytes[10];
    stream.ReadExact(bytes, sizeof bytes);
    TGIFImageDescriptor& d = frame.Descriptor;
    d.Separator = bytes[0];
    d.Left = GIFWordAt(bytes + 1);
    d.Top = GIFWordAt(bytes + 3);
    d.Width = GIFWordAt(bytes + 5);
    d.Height = GIFWordAt(bytes + 7);
    d.Packed = bytes[9];
    if (d.Width == 0 || d.Height == 0) {
        d.Width = frame.Image().Header.ScreenWidth;
        d.Height = frame.Image().Header.ScreenHeight;
        frame.Warning(GIFMessage::ImageExceedsScreen);
    }
}

void DecodePixels(TGIFSubImage& frame, GIFByteStream& stream, GIFLZWDecoder& decoder)
{
    const TGIFImageDescriptor& d = frame.Descriptor;
    const std::uint64_t pixels = std::uint64_t(d.Width) * d.Height;
    if (pixels > frame.Image().MaxFramePixels)
        throw GIFException(GIFMessage::ImageTooLarge);
    frame.Data.resize(static_cast<std::size_t>(pixels));
    decoder.Decode(stream, frame.Data.data(), d.Width, d.Height, d.Interlaced(),
                   frame.Transparent() ? frame.TransparentColorIndex() : 0,
                   [&](const std::string& message) { frame.Warning(message); });
}
}

void LoadFrame(TGIFSubImage& frame, GIFByteStream& stream, GIFLZWDecoder& decoder)
{
    if (!ReadExtensions(frame, stream))
        return;
    std::uint8_t next = 0;
    if (!stream.PeekByte(next) || next == GIFTrailer || next == 0)
        return;
    ReadDescriptor(frame, stream);
    if (frame.Descriptor.HasLocalColorMap())
        frame.ColorMap.LoadFromStream(stream, GIFColorTableSize(frame.Descriptor.Packed));
    DecodePixels(frame, stream, decoder);
}
