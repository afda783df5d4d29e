#pragma once
// The system's era calendar of a locale whose calendar type is 3, 4 or 5. Windows only.
//
// The era of a date and the year within it are asked of the system's date formatting in the locale's own
// calendar ("gg" and "yyyy"). The short era name is the first character of the full name for Japanese, the
// third and fourth of a four-character name for traditional Chinese, else the full name. Where the system
// names no era for a date, the date has none, and its patterns show the Gregorian year without era name.
#include <memory>

#include "update/RegionalSettings.h"

std::shared_ptr<const EraCalendar> SystemEraCalendar(unsigned localeId);
