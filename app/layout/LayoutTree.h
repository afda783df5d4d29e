#pragma once
// The window's layout as the layout reader gives it: a tree of objects, each with its class, its typed
// properties in stored order and its child objects in stored (painting) order.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/Errors.h"

// Malformed layout data or picture block; the message says what is wrong.
class ELayoutError : public EAppError {
public:
    using EAppError::EAppError;
};

// A symbolic value such as bsSingle, clBtnFace or the handler name FormShow.
struct LayoutIdentifier {
    std::string name;
    bool operator==(const LayoutIdentifier& other) const { return name == other.name; }
};

// A set of symbolic values such as [biSystemMenu, biMinimize]; empty for [].
struct LayoutSet {
    std::vector<std::string> members;
    bool operator==(const LayoutSet& other) const { return members == other.members; }
};

// Raw bytes, such as a picture block (see app/layout/PictureBlock.h).
struct LayoutBinary {
    std::vector<std::uint8_t> bytes;
    bool operator==(const LayoutBinary& other) const { return bytes == other.bytes; }
};

// Texts are byte strings in the ANSI code page (GBK on the target systems).
using LayoutValue = std::variant<std::int32_t, bool, std::string, LayoutIdentifier, LayoutSet, LayoutBinary>;

struct LayoutProperty {
    std::string name; // dotted for a part of a property, as Font.Height or Picture.Data
    LayoutValue value;
};

struct LayoutObject {
    std::string name;
    std::string className;
    std::vector<LayoutProperty> properties;
    std::vector<LayoutObject> children;

    // The value of the property of that name, or null when the layout does not list it.
    const LayoutValue* Find(const std::string& propertyName) const;
};
