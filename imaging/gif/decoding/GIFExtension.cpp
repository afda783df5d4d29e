#include "imaging/gif/decoding/GIFExtension.h"

#include "imaging/gif/decoding/GIFBlockCodes.h"
#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFSubImage.h"

TGIFExtension::TGIFExtension(TGIFSubImage& frame) : TGIFItem(frame.Warnings()), frame_(&frame) {}

void TGIFExtension::LoadFromStream(GIFByteStream& stream)
{
    if (stream.ReadExactByte() != GIFExtensionIntroducer)
        throw GIFException(GIFMessage::InvalidExtensionIntroducer);
    if (stream.ReadExactByte() != Label())
        throw GIFException(GIFMessage::ExtensionLabelMismatch);
    ReadBody(stream);
}
