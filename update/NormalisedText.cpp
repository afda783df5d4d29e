#include "update/NormalisedText.h"

#include <cstddef>
#include <cstring>

namespace {

const std::string_view kLineEnd = "\r\n";

bool IsLineBreakOrNul(char c)
{
    return c == '\0' || c == '\n' || c == '\r';
}

// The index of the lowest byte whose top bit is set in marks (not zero), on a little-endian machine.
int LowestMarkedByte(std::size_t marks)
{
    return __builtin_ctzll(marks) / 8;
}

// Skips bytes that cannot end a line, a word at a time. In a word, the lowest byte below 0x0E is marked
// exactly (a wrong mark can only follow a true one), so the scan jumps to it and goes on past it when it is
// some other control byte. Returns the first NUL, LF or CR from p on, or end.
const char* NextLineBreakOrNul(const char* p, const char* end)
{
    using Word = std::size_t;
    const Word ones = ~Word(0) / 0xFF;
    const Word highBits = ones * 0x80;
    const Word belowBreak = ones * ('\r' + 1);
    while (end - p >= static_cast<std::ptrdiff_t>(sizeof(Word))) {
        Word word;
        std::memcpy(&word, p, sizeof word);
        const Word marks = (word - belowBreak) & ~word & highBits;
        if (marks == 0) {
            p += sizeof word;
            continue;
        }
        p += LowestMarkedByte(marks);
        if (IsLineBreakOrNul(*p))
            return p;
        ++p;
    }
    while (p != end && !IsLineBreakOrNul(*p))
        ++p;
    return p;
}

bool EndsWithLineEnd(std::string_view bytes)
{
    return bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == kLineEnd;
}

} // namespace

std::string_view LineEndNormaliser::Next(std::string_view piece)
{
    if (ended_ || piece.empty())
        return {}; // a held CR waits for a piece that tells what follows it
    rebuilt_.clear();
    bool rebuilding = false;
    const char* p = piece.data();
    const char* const end = p + piece.size();
    if (heldCr_) {
        heldCr_ = false;
        rebuilt_.append(kLineEnd);
        rebuilding = true;
        if (p != end && *p == '\n')
            ++p;
    }
    const char* kept = p;
    for (;;) {
        p = NextLineBreakOrNul(p, end);
        if (p == end)
            break;
        if (*p == '\0') {
            ended_ = true;
            break;
        }
        if (*p == '\r' && end - p >= 2 && p[1] == '\n') {
            p += 2;
            continue;
        }
        if (*p == '\r' && end - p == 1) {
            heldCr_ = true;
            break;
        }
        rebuilt_.append(kept, p).append(kLineEnd);
        rebuilding = true;
        kept = ++p;
    }
    std::string_view out(kept, static_cast<std::size_t>(p - kept));
    if (rebuilding)
        out = rebuilt_.append(out);
    if (!out.empty())
        atLineStart_ = EndsWithLineEnd(out);
    if (ended_ && !atLineStart_) {
        // The text ends at the NUL: its last line gets its CR LF here.
        if (!rebuilding)
            rebuilt_.assign(out);
        out = rebuilt_.append(kLineEnd);
        atLineStart_ = true;
    }
    return out;
}

std::string_view LineEndNormaliser::Finish()
{
    const bool lineOpen = !ended_ && (heldCr_ || !atLineStart_);
    ended_ = true;
    heldCr_ = false;
    atLineStart_ = true;
    return lineOpen ? kLineEnd : std::string_view();
}
