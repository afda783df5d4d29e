#pragma once
// Date and time patterns rendered by the token rules of the regional settings, and the Timestamp text that
// opens every log record.
#include <string>
#include <string_view>

#include "update/LocalTime.h"
#include "update/RegionalSettings.h"

// Renders a pattern (tokens matched without regard to case, quoted text, GBK characters copied whole).
// The result is at most 256 bytes; anything beyond is cut.
std::string RenderPattern(std::string_view pattern, const LocalTime& when, const FormatSettings& settings);

// The short date; then, unless the time is exactly 00:00:00, one blank and the long time.
std::string TimestampText(const LocalTime& when, const FormatSettings& settings);

// The Timestamp text of the clock's current moment under the settings in force.
std::string TimestampText(Clock& clock);
