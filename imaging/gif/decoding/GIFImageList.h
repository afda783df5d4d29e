#pragma once
// The frames of a picture, in stream order.
#include <cstddef>
#include <memory>
#include <vector>

#include "imaging/gif/decoding/GIFSubImage.h"

class TGIFImageList {
public:
    std::size_t Count() const { return frames_.size(); }
    // index < Count()
    TGIFSubImage& operator[](std::size_t index) const { return *frames_[index]; }
    void Add(std::unique_ptr<TGIFSubImage> frame) { frames_.push_back(std::move(frame)); }
    void Clear() { frames_.clear(); }

private:
    std::vector<std::unique_ptr<TGIFSubImage>> frames_;
};
