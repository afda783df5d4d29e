#pragma once
// The Windows path of a file of tests/fixtures, seen through Wine's Z: drive.
#include <string>

// `relative` uses "/" (for example "zip/Stored.zip").
std::string FixturePath(const std::string& relative);
