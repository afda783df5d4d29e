#pragma once
// Data sub-blocks: a length byte (1..255) and that many bytes; a zero length ends the sequence.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFByteStream.h"

// Reads the next sub-block into `data`. False at the zero-length block or at the end of the stream. A
// sub-block cut short raises GIFException("Premature end of data").
bool ReadSubBlock(GIFByteStream& stream, std::vector<std::uint8_t>& data);

// Text sub-blocks until the zero-length block or the end of the stream; each becomes one line, up to its
// first zero byte.
std::vector<std::string> ReadTextLines(GIFByteStream& stream);

// Skips sub-blocks up to and including the zero-length one; stops quietly at the end of the stream.
void SkipSubBlocks(GIFByteStream& stream);
