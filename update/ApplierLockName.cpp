#include "update/ApplierLockName.h"

#include <cstdint>

#include "common/AsciiUpper.h"
#include "common/GbkText.h"

namespace {

const char kPrefix[] = "Global\\QeltoExamUpdate-";
const std::uint64_t kFnvOffset = 14695981039346656037ull;
const std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Mixed(std::uint64_t hash, char c)
{
    return (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
}

// The hash of the path, ASCII letters upper-cased outside double-byte characters.
std::uint64_t FolderHash(const std::string& folder)
{
    std::uint64_t hash = kFnvOffset;
    for (std::size_t at = 0; at < folder.size();) {
        const std::size_t length = GbkCharLength(folder, at);
        hash = Mixed(hash, length == 1 ? AsciiUpperChar(folder[at]) : folder[at]);
        if (length == 2)
            hash = Mixed(hash, folder[at + 1]);
        at += length;
    }
    return hash;
}

} // namespace

std::string ApplierLockName(const std::string& applicationFolder)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string name = kPrefix;
    const std::uint64_t hash = FolderHash(applicationFolder);
    for (int shift = 60; shift >= 0; shift -= 4)
        name += kDigits[(hash >> shift) & 0xF];
    return name;
}
