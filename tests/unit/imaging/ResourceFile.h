#pragma once
// Test support: the bytes of a file in resources/.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> ReadResource(const std::string& name)
{
    std::ifstream in(std::string(RESOURCES_DIR) + "/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
