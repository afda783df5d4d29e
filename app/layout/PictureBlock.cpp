#include "app/layout/PictureBlock.h"

#include "app/layout/LayoutTree.h"

PictureBlock ParsePictureBlock(ByteSpan block)
{
    ByteCursor cursor(block, "Picture block ends early");
    PictureBlock picture;
    picture.kind = cursor.ReadShortString();
    if (picture.kind != "TJPEGImage") {
        picture.data = cursor.Rest();
        return picture;
    }
    picture.data = cursor.ReadSpan(cursor.ReadUInt32());
    if (!cursor.AtEnd())
        throw ELayoutError("Picture block goes on after its JPEG stream");
    return picture;
}
