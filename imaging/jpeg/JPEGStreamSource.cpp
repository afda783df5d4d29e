#include "imaging/jpeg/JPEGStreamSource.h"

#include <algorithm>

#include <jerror.h>

namespace {

const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};

JPEGStreamSource& SourceOf(j_decompress_ptr info)
{
    return *reinterpret_cast<JPEGStreamSource*>(info->src);
}

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info)
{
    JPEGStreamSource& source = SourceOf(info);
    const std::size_t chunk = std::min(JPEGStreamSource::ChunkSize, source.Size - source.Position);
    const bool first = !source.Started;
    source.Started = true;
    if (chunk > 0) {
        source.Manager.next_input_byte = source.Data + source.Position;
        source.Manager.bytes_in_buffer = chunk;
        source.Position += chunk;
        return TRUE;
    }
    if (first)
        ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source.Manager.next_input_byte = EndOfImage;
    source.Manager.bytes_in_buffer = sizeof EndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    JPEGStreamSource& source = SourceOf(info);
    jpeg_source_mgr& manager = source.Manager;
    if (count <= 0)
        return;
    const std::size_t wanted = static_cast<std::size_t>(count);
    if (wanted <= manager.bytes_in_buffer) {
        manager.next_input_byte += wanted;
        manager.bytes_in_buffer -= wanted;
        return;
    }
    source.Position += std::min(wanted - manager.bytes_in_buffer, source.Size - source.Position);
    manager.bytes_in_buffer = 0;
    FillInputBuffer(info); // the next chunk, or the end-of-image marker when the skip ran past the data
}

void TermSource(j_decompress_ptr) {}

} // namespace

void JPEGStreamSource::Install(jpeg_decompress_struct& info, const std::uint8_t* data, std::size_t size)
{
    Data = data;
    Size = size;
    Position = 0;
    Started = false;
    Manager.init_source = InitSource;
    Manager.fill_input_buffer = FillInputBuffer;
    Manager.skip_input_data = SkipInputData;
    Manager.resync_to_restart = jpeg_resync_to_restart;
    Manager.term_source = TermSource;
    Manager.next_input_byte = nullptr;
    Manager.bytes_in_buffer = 0;
    info.src = &Manager;
}
