#include "bench/ResourceFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

std::vector<std::uint8_t> ReadResource(const std::string& name)
{
    const std::string path = std::string(RESOURCES_DIR) + "/" + name;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
