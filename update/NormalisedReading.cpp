#include "update/NormalisedReading.h"

namespace {

// The size of the pieces in which a file is read: small enough to stay in the processor's cache between
// the read and the write of a save, large enough that the calls cost little.
const std::size_t kPieceSize = 128 * 1024;

} // namespace

NormalisedReading::NormalisedReading(PieceReader& file)
    : file_(file), buffer_(new char[kPieceSize]) // not cleared: the reads fill it
{
    file_.Rewind();
}

NormalisedReading::~NormalisedReading()
{
    file_.StopReading();
}

std::string_view NormalisedReading::Next()
{
    while (!normaliser_.Ended()) {
        const std::string_view piece = NextPiece();
        if (!piece.empty())
            return piece;
    }
    // Also when a NUL ended the text early: nothing of the file may stay open.
    file_.StopReading();
    return {};
}

std::string_view NormalisedReading::NextPiece()
{
    const std::size_t read = file_.Read(buffer_.get(), kPieceSize);
    return read != 0 ? normaliser_.Next({buffer_.get(), read}) : normaliser_.Finish();
}
