// Feeds arbitrary bytes to the layout reader, and every binary property it finds to the picture block
// parser: malformed data must raise ELayoutError, never crash or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "app/layout/LayoutReader.h"
#include "app/layout/PictureBlock.h"

namespace {

void ParsePictures(const LayoutObject& object)
{
    for (const LayoutProperty& property : object.properties)
        if (const auto* binary = std::get_if<LayoutBinary>(&property.value)) {
            try {
                ParsePictureBlock({binary->bytes.data(), binary->bytes.size()});
            } catch (const ELayoutError&) {
            }
        }
    for (const LayoutObject& child : object.children)
        ParsePictures(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        ParsePictures(ReadLayout(data, size));
    } catch (const ELayoutError&) {
    }
    return 0;
}
