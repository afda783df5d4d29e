#pragma once
// An extension block of a frame: introducer 0x21, a label, then a body that each kind reads itself.
#include <cstdint>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFItem.h"

class TGIFSubImage;

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage& frame);

    virtual std::uint8_t Label() const = 0;
    TGIFSubImage& Frame() const { return *frame_; }

    // Reads the introducer ("Invalid extension introducer" unless 0x21), the label ("Internal error:
    // Extension Instance does not match Extension Label" unless this kind's) and the body.
    void LoadFromStream(GIFByteStream& stream);

protected:
    virtual void ReadBody(GIFByteStream& stream) = 0;

private:
    TGIFSubImage* frame_;
};
