#pragma once
// What the in-memory file stores of the unit tests share: a kept file over a copy of a file's bytes,
// handing them out in small pieces so that a CR LF is split between two of them somewhere, and the draining
// of a source for a save.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "update/FileStore.h"

// `open` tells whether a reading holds the kept file open, as it would hold a file on Windows: from a
// read that gives bytes until the end is read or the reading is stopped. It cannot tell whether the file
// still has its bytes, and nothing of it stays once it goes.
class StringKept : public KeptFile {
public:
    explicit StringKept(std::string bytes, std::shared_ptr<bool> open = std::make_shared<bool>(false))
        : bytes_(std::move(bytes)), open_(std::move(open)) {}

    void Rewind() override { at_ = 0; }
    void StopReading() override { *open_ = false; }
    bool MayBeTheOnlyCopy() override { return true; }
    void LeaveForALaterRun() override {}

    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, std::size_t{3}, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        *open_ = count != 0;
        return count;
    }

private:
    const std::string bytes_;
    const std::shared_ptr<bool> open_;
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
