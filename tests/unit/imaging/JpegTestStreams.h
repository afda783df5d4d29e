#pragma once
// Test support: JPEG streams and picture blocks, and an independent decoding straight through the library.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace jpegtest {

using Bytes = std::vector<std::uint8_t>;

// A picture data block of the kind TJPEGImage: the length, little-endian, then the stream.
inline Bytes Block(const Bytes& stream, std::uint32_t length)
{
    Bytes block;
    for (int shift = 0; shift < 32; shift += 8)
        block.push_back(std::uint8_t(length >> shift));
    block.insert(block.end(), stream.begin(), stream.end());
    return block;
}

inline Bytes Block(const Bytes& stream)
{
    return Block(stream, static_cast<std::uint32_t>(stream.size()));
}

// Three bytes (red, green, blue) or one byte (gray) per pixel, rows top to bottom.
struct Raster {
    int width = 0;
    int height = 0;
    int components = 3;
    Bytes samples;
};

// A small picture with smooth colour ramps, so that any decoder fault shows.
inline Raster Ramps(int width, int height, int components)
{
    Raster raster{width, height, components, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                raster.samples.push_back(std::uint8_t((x * 255 / width + y * 97 / height + c * 60) & 0xFF));
    return raster;
}

inline Bytes Encode(const Raster& raster, bool progressive)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(raster.width);
    info.image_height = JDIMENSION(raster.height);
    info.input_components = raster.components;
    info.in_color_space = raster.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&raster.samples[info.next_scanline * raster.width * raster.components]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes stream(out, out + size);
    std::free(out);
    return stream;
}

// The library's own decoding to red, green, blue (or gray) with its defaults (stream known to be good).
inline Raster ReferenceDecode(const Bytes& stream, J_COLOR_SPACE space = JCS_RGB)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, stream.data(), static_cast<unsigned long>(stream.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = space;
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    Raster raster{int(info.output_width), int(info.output_height), components, {}};
    raster.samples.resize(std::size_t(raster.width) * raster.height * components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &raster.samples[std::size_t(info.output_scanline) * raster.width * components];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return raster;
}

} // namespace jpegtest
