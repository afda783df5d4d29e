#pragma once
// The token rules behind RenderPattern: one renderer per rendered text, collecting at most 256 bytes.
//
// Decisions where the token table is silent:
// - a, aa (not starting am/pm, a/p or ampm) and every letter without a token are copied as written;
// - a c-run of any length is one c token; where its patterns lie beyond the second level it renders nothing,
//   its blank included;
// - without an era calendar (or for a date outside its eras) the Gregorian year stands for the year within
//   the era (e: year modulo 100 without a leading zero, ee: two digits, eee or longer: the whole year) and g
//   renders nothing; with one, e and ee take the era year modulo 100 in the same way;
// - a lead byte at the very end of a pattern is copied alone.
#include <string>
#include <string_view>

#include "update/LocalTime.h"
#include "update/RegionalSettings.h"

class PatternRenderer {
public:
    PatternRenderer(const LocalTime& when, const FormatSettings& settings);

    // Renders a pattern at a nesting level; the top pattern is level 1, anything beyond level 2 is nothing.
    void Render(std::string_view pattern, int level);
    // The short date, then (unless the time is 00:00:00) a blank and the long time, at the given level.
    void RenderDateAndTime(int level);
    const std::string& Text() const { return text_; }

private:
    struct Walk;

    void Step(Walk& walk, int level);
    void CopyCharacter(Walk& walk);
    void CopyQuoted(Walk& walk);
    bool TakeMarker(Walk& walk);
    void Token(Walk& walk, char letter, int count, int level);
    void Month(int count);
    void Day(int count, int level);
    void Hour(const Walk& walk, int count);
    void EraYear(int count);
    void EraName(int count);
    void Separator(char separator);
    void Append(std::string_view part);
    void AppendNumber(int value, int digits);
    bool Full() const;

    const LocalTime& when_;
    const FormatSettings& settings_;
    std::string text_;
};
