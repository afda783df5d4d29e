#include "bench/ResourceFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
}

std::vector<std::uint8_t> ReadResource(const std::string& name)
{
    return ReadFileBytes(std::string(RESOURCES_DIR) + "/" + name);
}

std::vector<std::uint8_t> ReadGifSample(const std::string& name)
{
    return ReadFileBytes(std::string(GIF_SAMPLES_DIR) + "/" + name);
}
