#include "update/NormalisedText.h"

#include <cstddef>
#include <cstring>

namespace {

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

// Walks the text as the text list splits it and hands the result on in pieces: kept(first, last) for
// bytes that stay as they are (CR LF pairs included), lineEnd() for a CR LF that the input lacks there.
// Returns false when a NUL ended the text.
template <class Sink>
bool WalkNormalised(std::string_view text, Sink& sink)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const char* kept = p;
    for (;;) {
        p = NextLineBreakOrNul(p, end);
        if (p == end || *p == '\0')
            break;
        if (*p == '\r' && end - p >= 2 && p[1] == '\n') {
            p += 2;
            continue;
        }
        sink.Kept(kept, p);
        sink.LineEnd();
        kept = ++p;
    }
    sink.Kept(kept, p);
    const bool endsWithCrLf = p - kept >= 2 && p[-2] == '\r' && p[-1] == '\n';
    if (p != kept && !endsWithCrLf)
        sink.LineEnd();
    return p == end;
}

struct SizeSink {
    std::size_t size = 0;
    void Kept(const char* first, const char* last) { size += static_cast<std::size_t>(last - first); }
    void LineEnd() { size += 2; }
};

struct FillSink {
    std::string& out;
    void Kept(const char* first, const char* last) { out.append(first, last); }
    void LineEnd() { out.append("\r\n", 2); }
};

} // namespace

std::string NormalisedConcatenation(std::string_view head, std::string_view tail)
{
    SizeSink size;
    const bool wholeHead = WalkNormalised(head, size);
    if (wholeHead)
        WalkNormalised(tail, size);

    std::string text;
    text.reserve(size.size);
    FillSink fill{text};
    WalkNormalised(head, fill);
    if (wholeHead)
        WalkNormalised(tail, fill);
    return text;
}
