#pragma once
// The bytes of a file read in pieces (a kept file among them, update/FileStore.h), from its start in
// small pieces.
#include <string>

#include "update/FileStore.h"

std::string ReadKept(PieceReader& kept);
