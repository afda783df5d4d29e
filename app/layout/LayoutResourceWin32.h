#pragma once
// Reads a layout stored in the program as an RCDATA resource. Windows only.
#include "app/layout/LayoutTree.h"

// The layout tree of the resource; ELayoutError when the program holds no such resource or its data is
// malformed.
LayoutObject LoadLayoutResource(const char* name);
