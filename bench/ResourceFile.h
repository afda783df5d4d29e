#pragma once
// The bytes of the pictures that the decoding benchmarks read: the update window's pictures in resources/,
// and the real-world GIF samples kept outside the project in ../shared/gif-samples/.
#include <cstdint>
#include <string>
#include <vector>

// Both raise std::runtime_error when the file cannot be read.
std::vector<std::uint8_t> ReadResource(const std::string& name);
std::vector<std::uint8_t> ReadGifSample(const std::string& name);
