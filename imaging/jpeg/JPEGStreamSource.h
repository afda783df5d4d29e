#pragma once
// Feeds a kept JPEG stream to the library in chunks of 4096 bytes, straight from the kept bytes. When the
// data runs out, an end-of-image marker (FF D9) is given instead, with the library's warning (which the
// error manager drops), so a stream cut short decodes with what there was. A stream that is empty from
// its first chunk is the library's fatal error JERR_INPUT_EMPTY.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

struct JPEGStreamSource {
    static constexpr std::size_t ChunkSize = 4096;

    jpeg_source_mgr Manager; // first, so that the library's pointer to it is a pointer to the whole
    const std::uint8_t* Data = nullptr;
    std::size_t Size = 0;
    std::size_t Position = 0; // bytes handed to the library so far
    bool Started = false;

    // Points `info` at this source over the bytes, which must outlive the decompression.
    void Install(jpeg_decompress_struct& info, const std::uint8_t* data, std::size_t size);
};
