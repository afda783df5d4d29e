#pragma once
// Where the parts of a GIF picture send their warnings: the picture itself. A part that only reports
// warnings needs nothing more of the picture than this.
#include <string>

class TGIFItem;

class GIFWarningSink {
public:
    // Passes a warning from `sender` (null: the picture itself) to whoever listens.
    virtual void Warn(const TGIFItem* sender, const std::string& message) const = 0;

protected:
    ~GIFWarningSink() = default;
};
