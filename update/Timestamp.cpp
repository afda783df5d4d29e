#include "update/Timestamp.h"

#include "update/PatternRenderer.h"

std::string RenderPattern(std::string_view pattern, const LocalTime& when, const FormatSettings& settings)
{
    PatternRenderer renderer(when, settings);
    renderer.Render(pattern, 1);
    return renderer.Text();
}

// The same text as the pattern "C": its date and time patterns are the second nesting level.
std::string TimestampText(const LocalTime& when, const FormatSettings& settings)
{
    PatternRenderer renderer(when, settings);
    renderer.RenderDateAndTime(2);
    return renderer.Text();
}

std::string TimestampText(Clock& clock)
{
    const LocalTime when = clock.Now();
    return TimestampText(when, *CurrentFormatSettings());
}
