#pragma once
// How a date pattern of the locale is adapted to its calendar and language before it is used.
#include <string>
#include <string_view>

// Era calendars (types 3, 4 and 5) count years within eras: "gg" becomes "ggg", "yyyy" "eeee", "yy" "ee"
// and y "e" (case ignored). Otherwise Chinese (4), Japanese (17) and Korean (18) drop every g and G. GBK
// characters are copied whole in both walks, so a trail byte that happens to be a g or y stays.
std::string TranslateDatePattern(std::string_view pattern, int calendarType, unsigned primaryLanguage);
