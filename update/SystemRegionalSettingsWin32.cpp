#include "update/SystemRegionalSettings.h"

#include <windows.h>

#include <vector>

#include "update/RegionalSettings.h"
#include "update/SystemEraCalendar.h"

namespace {

// The locale items of the calling thread's locale, through GetLocaleInfoA.
class SystemLocale : public LocaleSource {
public:
    SystemLocale() : locale_(GetThreadLocale()) {}

    // A limited item goes into a buffer of that many bytes plus the terminating NUL, so a longer one fails
    // as it does for the system; a whole item is sized first.
    std::optional<std::string> Item(LocaleItem item, std::size_t maxBytes) override
    {
        const auto type = static_cast<LCTYPE>(item);
        const int size = maxBytes == std::string::npos ? GetLocaleInfoA(locale_, type, nullptr, 0)
                                                        : static_cast<int>(maxBytes + 1);
        if (size <= 0)
            return std::nullopt;
        std::vector<char> buffer(static_cast<std::size_t>(size));
        const int length = GetLocaleInfoA(locale_, type, buffer.data(), size);
        if (length <= 0)
            return std::nullopt;
        return std::string(buffer.data(), static_cast<std::size_t>(length - 1));
    }

    unsigned LocaleId() override { return locale_; }

    std::shared_ptr<const EraCalendar> Eras(int) override { return SystemEraCalendar(locale_); }

private:
    LCID locale_;
};

} // namespace

void LoadSystemRegionalSettings()
{
    SystemLocale locale;
    ReplaceFormatSettings(ReadRegionalSettings(locale));
}
