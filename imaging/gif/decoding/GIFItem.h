#pragma once
// The parts of a GIF picture (header, colour tables, frames, extensions). Each belongs to one
// TGIFImage and passes its warnings to the image, naming itself as the sender.
#include <string>

#include "imaging/gif/decoding/GIFWarningSink.h"

class TGIFItem {
public:
    explicit TGIFItem(const GIFWarningSink& warnings) : warnings_(&warnings) {}
    virtual ~TGIFItem() = default;
    TGIFItem(const TGIFItem&) = delete;
    TGIFItem& operator=(const TGIFItem&) = delete;

    const GIFWarningSink& Warnings() const { return *warnings_; }
    // Passes a warning (severity 1) from this item to the image's warning hook.
    void Warning(const std::string& message) const { warnings_->Warn(this, message); }

private:
    const GIFWarningSink* warnings_;
};
