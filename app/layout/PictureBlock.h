#pragma once
// A picture as the layout data stores it (a control's Picture.Data): a byte count and the picture kind's
// name (a picture class such as TJPEGImage or TGIFImage), then the kind's own data. A TJPEGImage holds a
// u32 little-endian length and exactly that many bytes of JPEG stream; any other kind's data fills the rest
// of the block. Raises ELayoutError on a malformed block.
#include <string>

#include "app/layout/ByteCursor.h"

struct PictureBlock {
    std::string kind;
    ByteSpan data; // within the block given
};

PictureBlock ParsePictureBlock(ByteSpan block);
