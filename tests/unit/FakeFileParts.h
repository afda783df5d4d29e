#pragma once
// What the in-memory file stores of the unit tests share: a kept file over a copy of a file's bytes,
// handing them out in small pieces so that a CR LF is split between two of them somewhere, and the draining
// of a source for a save.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "update/FileStore.h"

class StringKept : public KeptFile {
public:
    explicit StringKept(std::string bytes) : bytes_(std::move(bytes)) {}

    void Rewind() override { at_ = 0; }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, std::size_t{3}, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return count;
    }

private:
    const std::string bytes_;
    std::size_t at_ = 0;
};

// The bytes that the source hands out.
inline std::string Drained(ByteSource& source)
{
    std::string bytes;
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
        bytes += piece;
    return bytes;
}
