#pragma once
// What the in-memory file stores of the unit tests share: a reader over a file's bytes, handing them out
// in small pieces so that a CR LF is split between two of them somewhere and counting itself among the
// open readers while it lives, and the draining of a source for a save, which fails, as Windows does, while a reader
// still holds the file open.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "common/Errors.h"
#include "update/FileStore.h"

class StringReader : public FileReader {
public:
    StringReader(std::string bytes, int& openReaders) : bytes_(std::move(bytes)), openReaders_(openReaders)
    {
        ++openReaders_;
    }
    ~StringReader() override { --openReaders_; }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, std::size_t{3}, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return count;
    }

private:
    const std::string bytes_;
    int& openReaders_;
    std::size_t at_ = 0;
};

// The bytes that the source hands out for the file at path.
inline std::string Drained(ByteSource& source, const std::string& path, const int& openReaders)
{
    std::string bytes;
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
        bytes += piece;
    if (openReaders != 0)
        throw EFCreateError(path, "In use by another program.");
    return bytes;
}
