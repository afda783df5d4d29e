#pragma once
// The compressed data of a JPEG picture with the facts its headers gave when it was read. Copies of a
// picture share one record (std::shared_ptr); it is freed with its last user.
#include <cstdint>
#include <vector>

struct TJPEGData {
    std::vector<std::uint8_t> Stream; // from the start-of-image marker on
    int Width = 0;
    int Height = 0;
    bool Grayscale = false; // the stream's colour space is gray
};
