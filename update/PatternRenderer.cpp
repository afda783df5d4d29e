#include "update/PatternRenderer.h"

#include <algorithm>
#include <climits>

#include "common/GbkText.h"

namespace {

constexpr std::size_t MaxTextBytes = 256;

// The position of the quote that closes the one at `open`; the pattern's end when it is never closed.
std::size_t QuoteClose(std::string_view pattern, std::size_t open)
{
    return std::min(pattern.find(pattern[open], open + 1), pattern.size());
}

bool IsQuote(char c)
{
    return c == '\'' || c == '"';
}

bool StartsMarker(std::string_view rest)
{
    return StartsWithNoCase(rest, "am/pm") || StartsWithNoCase(rest, "a/p") || StartsWithNoCase(rest, "ampm");
}

// Whether the first a met outside quotes from `from` on, before any h, starts a marker.
bool MarkerFollows(std::string_view pattern, std::size_t from)
{
    std::size_t pos = from;
    while (pos < pattern.size()) {
        const char c = AsciiLower(pattern[pos]);
        if (c == 'h')
            return false;
        if (c == 'a')
            return StartsMarker(pattern.substr(pos));
        pos = IsQuote(c) ? QuoteClose(pattern, pos) + 1 : pos + GbkCharLength(pattern, pos);
    }
    return false;
}

std::size_t RunLength(std::string_view pattern, std::size_t pos)
{
    std::size_t end = pos + 1;
    while (end < pattern.size() && pattern[end] == pattern[pos])
        ++end;
    return end - pos;
}

} // namespace

struct PatternRenderer::Walk {
    std::string_view pattern;
    std::size_t pos = 0;
    bool twelveHour = false; // an am/pm, a/p or ampm token was met: the rest of the pattern is 12-hour
    bool afterH = false;     // the letter read last, outside quotes, was h
};

PatternRenderer::PatternRenderer(const LocalTime& when, const FormatSettings& settings)
    : when_(when), settings_(settings)
{
}

void PatternRenderer::Render(std::string_view pattern, int level)
{
    if (level > 2)
        return;
    Walk walk{pattern};
    while (walk.pos < pattern.size() && !Full())
        Step(walk, level);
}

void PatternRenderer::RenderDateAndTime(int level)
{
    if (level > 2)
        return;
    Render(settings_.shortDateFormat, level);
    if (when_.hour != 0 || when_.minute != 0 || when_.second != 0) {
        Append(" ");
        Render(settings_.longTimeFormat, level);
    }
}

void PatternRenderer::Step(Walk& walk, int level)
{
    const std::string_view pattern = walk.pattern;
    const char c = pattern[walk.pos];
    if (IsQuote(c))
        return CopyQuoted(walk);
    if (!IsAsciiLetter(c))
        return CopyCharacter(walk);
    if (!TakeMarker(walk)) {
        const std::size_t count = RunLength(pattern, walk.pos);
        Token(walk, AsciiLower(c), static_cast<int>(std::min<std::size_t>(count, INT_MAX)), level);
        walk.pos += count;
    }
    walk.afterH = AsciiLower(pattern[walk.pos - 1]) == 'h';
}

// Separators, and any other character copied whole; a GBK character clears the memory of an h.
void PatternRenderer::CopyCharacter(Walk& walk)
{
    const char c = walk.pattern[walk.pos];
    const std::size_t length = GbkCharLength(walk.pattern, walk.pos);
    if (c == '/' || c == ':')
        Separator(c == '/' ? settings_.dateSeparator : settings_.timeSeparator);
    else
        Append(walk.pattern.substr(walk.pos, length));
    walk.afterH = walk.afterH && !IsGbkLeadByte(c);
    walk.pos += length;
}

void PatternRenderer::CopyQuoted(Walk& walk)
{
    const std::size_t close = QuoteClose(walk.pattern, walk.pos);
    Append(walk.pattern.substr(walk.pos + 1, close - walk.pos - 1));
    walk.pos = std::min(close + 1, walk.pattern.size());
}

// am/pm and a/p copy the letters as the pattern writes them; ampm gives the locale's texts.
bool PatternRenderer::TakeMarker(Walk& walk)
{
    const std::string_view rest = walk.pattern.substr(walk.pos);
    const bool pm = when_.hour >= 12;
    if (StartsWithNoCase(rest, "am/pm")) {
        Append(rest.substr(pm ? 3 : 0, 2));
        walk.pos += 5;
    } else if (StartsWithNoCase(rest, "a/p")) {
        Append(rest.substr(pm ? 2 : 0, 1));
        walk.pos += 3;
    } else if (StartsWithNoCase(rest, "ampm")) {
        Append(pm ? settings_.timePMString : settings_.timeAMString);
        walk.pos += 4;
    } else {
        return false;
    }
    walk.twelveHour = true;
    return true;
}

void PatternRenderer::Token(Walk& walk, char letter, int count, int level)
{
    switch (letter) {
    case 'y': return count <= 2 ? AppendNumber(when_.year % 100, 2) : AppendNumber(when_.year, 4);
    case 'm': return walk.afterH ? AppendNumber(when_.minute, std::min(count, 2)) : Month(count);
    case 'n': return AppendNumber(when_.minute, std::min(count, 2));
    case 'd': return Day(count, level);
    case 'h': return Hour(walk, count);
    case 's': return AppendNumber(when_.second, std::min(count, 2));
    case 'z': return AppendNumber(when_.millisecond, std::min(count, 3));
    case 't': return Render(count == 1 ? settings_.shortTimeFormat : settings_.longTimeFormat, level + 1);
    case 'c': return RenderDateAndTime(level + 1);
    case 'e': return EraYear(count);
    case 'g': return EraName(count);
    case 'a':
        if (count >= 3)
            return Append(count == 3 ? settings_.shortDayNames[when_.dayOfWeek] : settings_.longDayNames[when_.dayOfWeek]);
        break;
    }
    Append(walk.pattern.substr(walk.pos, static_cast<std::size_t>(count)));
}

void PatternRenderer::Month(int count)
{
    const auto index = static_cast<std::size_t>(when_.month - 1);
    if (count <= 2)
        AppendNumber(when_.month, count);
    else
        Append(count == 3 ? settings_.shortMonthNames[index] : settings_.longMonthNames[index]);
}

void PatternRenderer::Day(int count, int level)
{
    const auto index = static_cast<std::size_t>(when_.dayOfWeek);
    switch (count) {
    case 1:
    case 2: return AppendNumber(when_.day, count);
    case 3: return Append(settings_.shortDayNames[index]);
    case 4: return Append(settings_.longDayNames[index]);
    case 5: return Render(settings_.shortDateFormat, level + 1);
    default: return Render(settings_.longDateFormat, level + 1);
    }
}

// On a 12-hour clock hour 0 reads 12 and hours 13 to 23 read 1 to 11.
void PatternRenderer::Hour(const Walk& walk, int count)
{
    const bool twelveHour = walk.twelveHour || MarkerFollows(walk.pattern, walk.pos + static_cast<std::size_t>(count));
    int hour = when_.hour;
    if (twelveHour)
        hour = hour % 12 == 0 ? 12 : hour % 12;
    AppendNumber(hour, std::min(count, 2));
}

void PatternRenderer::EraYear(int count)
{
    std::string shortName, fullName;
    int year = when_.year;
    if (settings_.eras && !settings_.eras->EraOf(when_, shortName, fullName, year))
        year = when_.year;
    if (count <= 2)
        AppendNumber(year % 100, count);
    else
        AppendNumber(year, 1);
}

void PatternRenderer::EraName(int count)
{
    std::string shortName, fullName;
    int year = 0;
    if (settings_.eras && settings_.eras->EraOf(when_, shortName, fullName, year))
        Append(count == 1 ? shortName : fullName);
}

void PatternRenderer::Separator(char separator)
{
    if (separator != '\0')
        Append(std::string_view(&separator, 1));
}

void PatternRenderer::Append(std::string_view part)
{
    text_.append(part.substr(0, MaxTextBytes - std::min(text_.size(), MaxTextBytes)));
}

void PatternRenderer::AppendNumber(int value, int digits)
{
    std::string number = std::to_string(value);
    if (number.size() < static_cast<std::size_t>(digits))
        number.insert(0, static_cast<std::size_t>(digits) - number.size(), '0');
    Append(number);
}

bool PatternRenderer::Full() const
{
    return text_.size() >= MaxTextBytes;
}
