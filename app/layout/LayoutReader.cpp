#include "app/layout/LayoutReader.h"

#include <cstring>

#include "app/layout/ByteCursor.h"

namespace {

constexpr char Signature[] = "LYT1";
constexpr int MaxDepth = 16;

enum ValueType : std::uint8_t { Integer = 1, Boolean, String, Identifier, Set, Binary };

bool ReadBoolean(ByteCursor& cursor)
{
    const std::uint8_t value = cursor.ReadByte();
    if (value > 1)
        throw ELayoutError("Layout boolean is neither 0 nor 1");
    return value == 1;
}

LayoutSet ReadSet(ByteCursor& cursor)
{
    LayoutSet set;
    for (int count = cursor.ReadByte(); count > 0; --count)
        set.members.push_back(cursor.ReadShortString());
    return set;
}

LayoutValue ReadValue(ByteCursor& cursor)
{
    switch (cursor.ReadByte()) {
    case Integer:
        return static_cast<std::int32_t>(cursor.ReadUInt32());
    case Boolean:
        return ReadBoolean(cursor);
    case String:
        return cursor.ReadText(cursor.ReadUInt32());
    case Identifier:
        return LayoutIdentifier{cursor.ReadShortString()};
    case Set:
        return ReadSet(cursor);
    case Binary: {
        const ByteSpan bytes = cursor.ReadSpan(cursor.ReadUInt32());
        return LayoutBinary{std::vector<std::uint8_t>(bytes.data, bytes.data + bytes.size)};
    }
    default:
        throw ELayoutError("Layout property has an unknown value type");
    }
}

LayoutObject ReadObject(ByteCursor& cursor, int depth)
{
    if (depth > MaxDepth)
        throw ELayoutError("Layout objects nest too deeply");
    LayoutObject object;
    object.name = cursor.ReadShortString();
    object.className = cursor.ReadShortString();
    for (int count = cursor.ReadUInt16(); count > 0; --count) {
        std::string name = cursor.ReadShortString();
        object.properties.push_back({std::move(name), ReadValue(cursor)});
    }
    for (int count = cursor.ReadUInt16(); count > 0; --count)
        object.children.push_back(ReadObject(cursor, depth + 1));
    return object;
}

} // namespace

LayoutObject ReadLayout(const std::uint8_t* data, std::size_t size)
{
    ByteCursor cursor({data, size}, "Layout data ends early");
    const std::size_t signatureSize = sizeof Signature - 1;
    const bool hasSignature = size >= signatureSize &&
                              std::memcmp(cursor.ReadSpan(signatureSize).data, Signature, signatureSize) == 0;
    if (!hasSignature)
        throw ELayoutError("Layout data has no layout signature");
    LayoutObject root = ReadObject(cursor, 1);
    if (!cursor.AtEnd())
        throw ELayoutError("Layout data goes on after its root object");
    return root;
}
