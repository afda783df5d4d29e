#pragma once
// Where extracted bytes go: the replacement file of the target in the library, memory in tests.
#include <cstddef>

class ExtractSink {
public:
    virtual ~ExtractSink() = default;

    // Stores the bytes after those written before; false when they could not all be stored (disk full).
    virtual bool Write(const char* data, std::size_t size) = 0;
};
