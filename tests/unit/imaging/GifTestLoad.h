#pragma once
// Test support: loads a GIF from bytes and records what the picture reported.
#include <memory>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "tests/unit/imaging/GifBuilder.h"

namespace gif {

struct Loaded {
    std::unique_ptr<TGIFImage> image = std::make_unique<TGIFImage>();
    std::vector<std::string> warnings;
    std::vector<const TGIFItem*> senders;
    std::string error; // empty when the load succeeded
    std::size_t position = 0;

    TGIFSubImage& Frame(std::size_t index) const { return image->Images[index]; }
};

// Loads from `start` (the bytes before it are not the picture's).
inline Loaded Load(const Bytes& bytes, std::size_t start = 0)
{
    Loaded loaded;
    loaded.image->OnWarning = [&loaded](const TGIFItem* sender, int, const std::string& message) {
        loaded.warnings.push_back(message);
        loaded.senders.push_back(sender);
    };
    GIFByteStream stream(bytes.data(), bytes.size());
    stream.Seek(start);
    try {
        loaded.image->LoadFromStream(stream);
    } catch (const GIFException& e) {
        loaded.error = e.what();
    }
    loaded.position = stream.Position();
    loaded.image->OnWarning = nullptr;
    return loaded;
}

} // namespace gif
