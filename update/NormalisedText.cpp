#include "update/NormalisedText.h"

#include <cstddef>
#include <cstring>
#include <utility>

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

struct Measure {
    std::size_t size;   // of the normalised text
    bool whole;         // no NUL ended the text
};

Measure Measured(std::string_view text)
{
    SizeSink sink;
    const bool whole = WalkNormalised(text, sink);
    return {sink.size, whole};
}

// Appends the normalised text, whose size was measured, in one allocation.
void AppendNormalised(std::string_view text, const Measure& measure, std::string& out)
{
    out.reserve(out.size() + measure.size);
    FillSink fill{out};
    WalkNormalised(text, fill);
}

} // namespace

void PrependNormalised(std::string_view head, std::string& text)
{
    const Measure headMeasure = Measured(head);
    std::string front;
    AppendNormalised(head, headMeasure, front);
    if (!headMeasure.whole) {
        text = std::move(front);
        return;
    }
    const Measure textMeasure = Measured(text);
    if (textMeasure.whole && textMeasure.size == text.size()) {
        text.insert(0, front);
        return;
    }
    AppendNormalised(text, textMeasure, front);
    text = std::move(front);
}
