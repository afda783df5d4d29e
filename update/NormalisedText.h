#pragma once
// The bytes that a text list gives back after splitting a text and joining its lines again (every line
// ended by CR LF, a lone CR or a lone LF made CR LF, nothing from the first NUL on), made a piece at a time
// as the text streams past, with no list of lines in between: the memory used is that of one piece,
// whatever the size or the shape of the text.
#include <string>
#include <string_view>

class LineEndNormaliser {
public:
    // The normalised bytes of the next piece of the text: the piece itself where it needs no change (as
    // every log this program wrote), else a rebuilt copy. Valid until the next call. A CR that ends the
    // piece is held back until the next piece tells whether an LF follows it.
    std::string_view Next(std::string_view piece);

    // What the end of the text adds: the CR LF that its last line lacks, if any.
    std::string_view Finish();

    // True once a NUL ended the text (or Finish was called): later pieces add nothing.
    bool Ended() const { return ended_; }

private:
    std::string rebuilt_;
    bool heldCr_ = false;
    bool ended_ = false;
    bool atLineStart_ = true; // nothing handed out yet, or the last bytes handed out were CR LF
};
