// Splitting any bytes gives lines free of CR, LF and NUL; joining them and splitting again gives the same
// lines, and joining those gives the same text; the log's normalisation, handed the text in pieces whose
// size the first byte chooses, gives that text too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/NormalisedText.h"
#include "update/TextList.h"

namespace {

std::string NormalisedInPieces(std::string_view text, std::size_t pieceSize)
{
    LineEndNormaliser normaliser;
    std::string out;
    for (std::size_t at = 0; at < text.size(); at += pieceSize)
        out += normaliser.Next(text.substr(at, pieceSize));
    out += normaliser.Finish();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TextList first;
    first.SetText(text);
    for (std::size_t i = 0; i < first.Count(); ++i)
        if (first.Entry(i).find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            std::abort();

    const std::string joined = first.Text();
    const std::size_t pieceSize = size == 0 ? 1 : data[0] % 16 + 1;
    if (NormalisedInPieces(text, pieceSize) != joined || NormalisedInPieces(text, size + 1) != joined)
        std::abort();
    TextList second;
    second.SetText(joined);
    if (second.Count() != first.Count())
        std::abort();
    for (std::size_t i = 0; i < first.Count(); ++i)
        if (second.Entry(i) != first.Entry(i))
            std::abort();
    if (second.Text() != joined)
        std::abort();
    return 0;
}
