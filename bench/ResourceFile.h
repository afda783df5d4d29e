#pragma once
// The bytes of a file in resources/ (the update window's pictures), for the decoding benchmarks.
#include <cstdint>
#include <string>
#include <vector>

// Raises std::runtime_error when the file cannot be read.
std::vector<std::uint8_t> ReadResource(const std::string& name);
