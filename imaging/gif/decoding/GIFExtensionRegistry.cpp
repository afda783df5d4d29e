#include "imaging/gif/decoding/GIFExtensionRegistry.h"

#include <algorithm>
#include <vector>

#include "imaging/gif/decoding/GIFAppExtNSLoop.h"
#include "imaging/gif/decoding/GIFCommentExtension.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "imaging/gif/decoding/GIFTextExtension.h"

namespace {
struct LabelEntry {
    std::uint8_t label;
    TGIFExtensionFactory factory;
};

struct IdentifierEntry {
    TGIFApplicationIdentifier identifier;
    TGIFAppExtensionFactory factory;
};

template <class Extension>
std::unique_ptr<TGIFExtension> Create(TGIFSubImage& frame, GIFByteStream&)
{
    return std::make_unique<Extension>(frame);
}

std::unique_ptr<TGIFApplicationExtension> CreateLoop(TGIFSubImage& frame)
{
    return std::make_unique<TGIFAppExtNSLoop>(frame);
}

TGIFApplicationIdentifier IdentifierOf(const char (&text)[12])
{
    TGIFApplicationIdentifier identifier{};
    std::copy(text, text + identifier.size(), identifier.begin());
    return identifier;
}

std::vector<LabelEntry>& Labels()
{
    static std::vector<LabelEntry> entries = {
        {TGIFGraphicControlExtension::ExtensionLabel, Create<TGIFGraphicControlExtension>},
        {TGIFCommentExtension::ExtensionLabel, Create<TGIFCommentExtension>},
        {TGIFTextExtension::ExtensionLabel, Create<TGIFTextExtension>},
        {TGIFApplicationExtension::ExtensionLabel, CreateApplicationExtension},
    };
    return entries;
}

std::vector<IdentifierEntry>& Identifiers()
{
    static std::vector<IdentifierEntry> entries = {
        {IdentifierOf("NETSCAPE2.0"), CreateLoop},
        {IdentifierOf("ANIMEXTS1.0"), CreateLoop},
    };
    return entries;
}

template <class Entries, class Match>
auto FindLast(const Entries& entries, Match match) -> decltype(entries.front().factory)
{
    const auto found = std::find_if(entries.rbegin(), entries.rend(), match);
    return found == entries.rend() ? nullptr : found->factory;
}
}

void RegisterExtension(std::uint8_t label, TGIFExtensionFactory factory)
{
    Labels().push_back({label, factory});
}

void RegisterApplicationExtension(const TGIFApplicationIdentifier& identifier, TGIFAppExtensionFactory factory)
{
    Identifiers().push_back({identifier, factory});
}

TGIFExtensionFactory FindExtension(std::uint8_t label)
{
    return FindLast(Labels(), [&](const LabelEntry& e) { return e.label == label; });
}

TGIFAppExtensionFactory FindApplicationExtension(const TGIFApplicationIdentifier& identifier)
{
    return FindLast(Identifiers(), [&](const IdentifierEntry& e) { return e.identifier == identifier; });
}
