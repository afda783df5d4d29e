#pragma once
// The two process-wide registries of extension kinds: by label, and application extensions by
// identifier. Both are built with the built-in kinds on first use; a lookup searches from the last
// registered entry backwards, so a later registration overrides an earlier one. Register at start-up,
// before any picture loads.
#include <cstdint>
#include <memory>

#include "imaging/gif/decoding/GIFApplicationExtension.h"
#include "imaging/gif/decoding/GIFByteStream.h"

class TGIFExtension;
class TGIFSubImage;

// Creates an extension for a frame. The stream stands just after the label and must be left there.
using TGIFExtensionFactory = std::unique_ptr<TGIFExtension> (*)(TGIFSubImage& frame, GIFByteStream& stream);
using TGIFAppExtensionFactory = std::unique_ptr<TGIFApplicationExtension> (*)(TGIFSubImage& frame);

void RegisterExtension(std::uint8_t label, TGIFExtensionFactory factory);
void RegisterApplicationExtension(const TGIFApplicationIdentifier& identifier, TGIFAppExtensionFactory factory);

// Null when nothing is registered.
TGIFExtensionFactory FindExtension(std::uint8_t label);
TGIFAppExtensionFactory FindApplicationExtension(const TGIFApplicationIdentifier& identifier);
