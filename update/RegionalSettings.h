#pragma once
// The user's regional settings that shape the Timestamp text: read from the system's locale at start-up
// and again on the system's settings notices, held process-wide and replaced whole.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "update/LocalTime.h"

// Era calendars (calendar types 3, 4 and 5) need the system's alternative calendar to name the era of a
// date and count years within it. Where no such calendar is available the settings hold none.
class EraCalendar {
public:
    virtual ~EraCalendar() = default;
    // Era names (short and full) and the year within the era for a date; false when the date has none.
    virtual bool EraOf(const LocalTime& when, std::string& shortName, std::string& fullName, int& yearInEra) const = 0;
};

struct FormatSettings {
    char dateSeparator = '/';   // NUL renders as nothing
    char timeSeparator = ':';
    std::string shortDateFormat = "m/d/yy";
    std::string longDateFormat = "mmmm d, yyyy";
    std::string shortTimeFormat = "h:mm AMPM";
    std::string longTimeFormat = "h:mm:ss AMPM";
    std::string timeAMString = "am";
    std::string timePMString = "pm";
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January", "February", "March", "April", "May", "June",
                                                "July", "August", "September", "October", "November", "December"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    std::shared_ptr<const EraCalendar> eras;   // none unless the calendar type is an era calendar
};

// Locale items, numbered as the system numbers them (the LOCALE_* constants of the Win32 API).
enum class LocaleItem : unsigned {
    SDate = 0x1D, STime = 0x1E, SShortDate = 0x1F, SLongDate = 0x20,
    ITime = 0x23, ITLZero = 0x25, S1159 = 0x28, S2359 = 0x29,
    SDayName1 = 0x2A, SAbbrevDayName1 = 0x31, SMonthName1 = 0x38, SAbbrevMonthName1 = 0x44,
    ICalendarType = 0x1009, ITimeMarkPosn = 0x1005,
};

// Where the items come from: the system's locale on Windows, a table in tests.
class LocaleSource {
public:
    virtual ~LocaleSource() = default;
    // The item's text, or nothing when the system cannot supply it. An item of more than `maxBytes` bytes
    // cannot be fetched (the separators are fetched into a two-byte buffer).
    virtual std::optional<std::string> Item(LocaleItem item, std::size_t maxBytes) = 0;
    // The locale identifier of the thread whose settings are read.
    virtual unsigned LocaleId() = 0;
    // The era calendar for calendar types 3 to 5, or none where the platform has none.
    virtual std::shared_ptr<const EraCalendar> Eras(int calendarType) = 0;
};

// Builds the settings from a source with every rule of defaults, first bytes and pattern translation.
FormatSettings ReadRegionalSettings(LocaleSource& source);

// The process-wide settings in force; replaced whole, so a reader always sees one consistent set.
std::shared_ptr<const FormatSettings> CurrentFormatSettings();
void ReplaceFormatSettings(FormatSettings settings);
