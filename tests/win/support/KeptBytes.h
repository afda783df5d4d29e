#pragma once
// The bytes of a kept file (update/FileStore.h), read from its start in small pieces.
#include <string>

#include "update/FileStore.h"

std::string ReadKept(KeptFile& kept);
