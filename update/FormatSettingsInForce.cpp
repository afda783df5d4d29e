#include <mutex>

#include "update/RegionalSettings.h"

// The settings in force: a pointer to an unchanging set, swapped whole under a lock, so a reader on any
// thread keeps a consistent set for as long as it holds its copy of the pointer.
namespace {

std::mutex& Guard()
{
    static std::mutex guard;
    return guard;
}

std::shared_ptr<const FormatSettings>& InForce()
{
    static std::shared_ptr<const FormatSettings> settings = std::make_shared<const FormatSettings>();
    return settings;
}

} // namespace

std::shared_ptr<const FormatSettings> CurrentFormatSettings()
{
    const std::lock_guard<std::mutex> lock(Guard());
    return InForce();
}

void ReplaceFormatSettings(FormatSettings settings)
{
    auto replacement = std::make_shared<const FormatSettings>(std::move(settings));
    const std::lock_guard<std::mutex> lock(Guard());
    InForce().swap(replacement);
}
