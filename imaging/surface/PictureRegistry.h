#pragma once
// The registry of picture classes: a picture kind as the layout data names it ("TJPEGImage",
// "TGIFImage") and the factory that makes a picture of that kind from the kind's own data. Kinds match
// exactly, letter case included. Picture classes register themselves at program start; a kind that no
// class registered leaves its control without a picture.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "imaging/surface/Picture.h"

using PictureFactory = std::function<std::unique_ptr<Picture>(const std::uint8_t* data, std::size_t size)>;

class PictureRegistry {
public:
    // Registers (or replaces) the factory of a kind.
    void Register(const std::string& kind, PictureFactory factory);
    // The factory of a kind, or null when none is registered.
    const PictureFactory* Find(const std::string& kind) const;

private:
    std::map<std::string, PictureFactory> factories_;
};

// The program's one registry.
PictureRegistry& PictureClasses();
