#pragma once
// A file read a piece at a time and handed out as the text list rules it (update/NormalisedText.h): the
// memory used is that of a piece, whatever the file's size.
#include <memory>
#include <string_view>

#include "update/FileStore.h"
#include "update/NormalisedText.h"

class NormalisedReading : public ByteSource {
public:
    // Reads the file from its start.
    explicit NormalisedReading(PieceReader& file);
    NormalisedReading(const NormalisedReading&) = delete;
    NormalisedReading& operator=(const NormalisedReading&) = delete;
    // Lets go of the file, also when it was not read to its end.
    ~NormalisedReading() override;

    // Empty once the text has ended (at the file's end or a NUL); the file is let go of then, so that a
    // save may put another file in its place.
    std::string_view Next() override;

private:
    std::string_view NextPiece();

    PieceReader& file_;
    std::unique_ptr<char[]> buffer_;
    LineEndNormaliser normaliser_;
};
