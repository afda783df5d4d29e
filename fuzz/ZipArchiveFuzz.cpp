// Feeds arbitrary bytes to the archive reader as an archive and extracts the member for a fixed target
// name into a sink that drops the bytes, so nothing is written anywhere.
#include <cstddef>
#include <cstdint>

#include "tkzip/ZipExtract.h"

namespace {

class DiscardingSink : public ExtractSink {
public:
    bool Write(const char*, std::size_t) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zip_source_t* source = zip_source_buffer_create(data, size, 0, nullptr);
    if (source == nullptr)
        return 0;
    DiscardingSink sink;
    ExtractMember(source, {"data.mdb", "readme.txt"}, sink);
    return 0;
}
