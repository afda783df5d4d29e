#pragma once
// Reads the window's packed layout data (the resource TFRMMAIN, packed from resources/FrmMain.layout by
// tools/pack_layout.py) into a tree of objects. Raises ELayoutError on malformed data.
//
// Packed form, all numbers little-endian:
//
//   layout    = "LYT1" object                 nothing may follow the root object
//   object    = short(name) short(class) u16(property count) property... u16(child count) object...
//   property  = short(name) u8(type) value
//   value     = type 1 integer:    i32
//               type 2 boolean:    u8, 0 (False) or 1 (True)
//               type 3 string:     u32(length) bytes
//               type 4 identifier: short
//               type 5 set:        u8(member count) short...
//               type 6 binary:     u32(length) bytes
//   short     = u8(length) bytes
//
// Objects nest at most 16 deep (the window and its controls need 2).
#include <cstddef>
#include <cstdint>

#include "app/layout/LayoutTree.h"

LayoutObject ReadLayout(const std::uint8_t* data, std::size_t size);
