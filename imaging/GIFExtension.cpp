#include "imaging/GIFExtension.h"

#include "imaging/GIFBlockCodes.h"
#include "imaging/GIFException.h"
#include "imaging/GIFMessages.h"
#include "imaging/GIFSubImage.h"

TGIFExtension::TGIFExtension(TGIFSubImage& frame) : TGIFItem(frame.Image()), frame_(&frame) {}

void TGIFExtension::LoadFromStream(GIFByteStream& stream)
{
    if (stream.ReadExactByte() != GIFExtensionIntroducer)
        throw GIFException(GIFMessage::InvalidExtensionIntroducer);
    if (stream.ReadExactByte() != Label())
        throw GIFException(GIFMessage::ExtensionLabelMismatch);
    ReadBody(stream);
}
