// Arbitrary patterns and locale items through the regional settings reader and the pattern renderer:
// nothing may crash or trip a sanitizer, and no rendered text may exceed 256 bytes.
//
// Input: 12 header bytes (date and time, separators, switches), then newline-separated fields: the pattern,
// the short and long date items, the time items, the am and pm texts, the calendar type, a name for every
// month and day, and the era name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "update/RegionalSettings.h"
#include "update/Timestamp.h"

namespace {

enum Field { Pattern, ShortDate, LongDate, LeadingZero, ClockItem, MarkerPosition, Am, Pm, CalendarType, Name, Era, FieldCount };

class FuzzEras : public EraCalendar {
public:
    FuzzEras(std::string name, bool known) : name_(std::move(name)), known_(known) {}
    bool EraOf(const LocalTime& when, std::string& shortName, std::string& fullName, int& yearInEra) const override
    {
        shortName = name_.substr(0, 2);
        fullName = name_;
        yearInEra = when.year - 1988;
        return known_;
    }

private:
    std::string name_;
    bool known_;
};

class FuzzLocale : public LocaleSource {
public:
    FuzzLocale(const std::vector<std::string>& fields, const uint8_t* header) : fields_(fields), header_(header) {}

    std::optional<std::string> Item(LocaleItem item, std::size_t maxBytes) override
    {
        const std::optional<std::string> text = Text(item);
        return text && text->size() <= maxBytes ? text : std::nullopt;
    }

    unsigned LocaleId() override { return header_[10] | (header_[11] << 8); }

    std::shared_ptr<const EraCalendar> Eras(int) override
    {
        return std::make_shared<FuzzEras>(fields_[Era], header_[9] & 1);
    }

private:
    std::optional<std::string> Text(LocaleItem item) const
    {
        switch (item) {
        case LocaleItem::SDate: return std::string(1, static_cast<char>(header_[8]));
        case LocaleItem::STime: return header_[9] & 2 ? std::string() : std::string(header_[9] & 4 ? "::" : ":");
        case LocaleItem::SShortDate: return fields_[ShortDate];
        case LocaleItem::SLongDate: return fields_[LongDate];
        case LocaleItem::ITLZero: return fields_[LeadingZero];
        case LocaleItem::ITime: return fields_[ClockItem];
        case LocaleItem::ITimeMarkPosn: return fields_[MarkerPosition];
        case LocaleItem::S1159: return fields_[Am];
        case LocaleItem::S2359: return fields_[Pm];
        case LocaleItem::ICalendarType: return fields_[CalendarType];
        default: return header_[9] & 8 ? std::nullopt : std::optional<std::string>(fields_[Name]);
        }
    }

    const std::vector<std::string>& fields_;
    const uint8_t* header_;
};

std::vector<std::string> SplitFields(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && fields.size() < FieldCount)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    fields.resize(FieldCount);
    return fields;
}

LocalTime TimeOf(const uint8_t* header)
{
    return LocalTime{header[0] | (header[1] << 8), header[2] % 12 + 1, header[3] % 31 + 1, header[4] % 7,
                     header[5] % 24, header[6] % 60, header[7] % 60, (header[8] * 7) % 1000};
}

void CheckLength(const std::string& text)
{
    if (text.size() > 256)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr std::size_t HeaderBytes = 12;
    if (size < HeaderBytes)
        return 0;
    const std::vector<std::string> fields = SplitFields(data + HeaderBytes, size - HeaderBytes);
    FuzzLocale locale(fields, data);
    FormatSettings settings = ReadRegionalSettings(locale);
    const LocalTime when = TimeOf(data);
    CheckLength(RenderPattern(fields[Pattern], when, settings));
    CheckLength(TimestampText(when, settings));
    settings.shortTimeFormat = fields[ShortDate];
    settings.longTimeFormat = fields[Pattern];
    CheckLength(RenderPattern(fields[Pattern], when, settings));
    return 0;
}
