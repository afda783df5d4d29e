#pragma once
// The parts of a GIF picture (header, colour tables, frames, extensions). Each belongs to one
// TGIFImage and passes its warnings to the image's warning hook, naming itself as the sender.
#include <string>

class TGIFImage;

class TGIFItem {
public:
    explicit TGIFItem(TGIFImage& image) : image_(&image) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    TGIFImage& Image() const { return *image_; }
    // Passes a warning (severity 1) from this item to the image's warning hook.
    void Warning(const std::string& message) const;

private:
    TGIFImage* image_;
};
