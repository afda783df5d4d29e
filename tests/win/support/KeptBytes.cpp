#include "support/KeptBytes.h"

std::string ReadKept(PieceReader& kept)
{
    kept.Rewind();
    std::string bytes;
    char buffer[5];
    for (std::size_t read; (read = kept.Read(buffer, sizeof buffer)) != 0;)
        bytes.append(buffer, read);
    return bytes;
}
