#pragma once
// What the in-memory file stores of the unit tests share: the draining of a source for a save.
#include <string>
#include <string_view>

#include "update/FileStore.h"

// The bytes that the source hands out.
inline std::string Drained(ByteSource& source)
{
    std::string bytes;
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
        bytes += piece;
    return bytes;
}
