#pragma once
// Reading one frame from the stream: the extensions before it, then, unless the stream ends or a
// trailer or zero byte follows them, its image descriptor, local colour table and pixel data.
#include "imaging/gif/decoding/GIFByteStream.h"

class GIFLZWDecoder;
class TGIFSubImage;

// An extension introducer with no label after it raises "Premature end of data". Pixels the image data
// never reaches hold the transparent index (transparent frame) or 0. A frame whose pixel count is above
// the image's MaxFramePixels raises "Image too large to decode". `decoder` serves every frame of the picture.
void LoadFrame(TGIFSubImage& frame, GIFByteStream& stream, GIFLZWDecoder& decoder);
