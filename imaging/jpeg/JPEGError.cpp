#include "imaging/jpeg/JPEGError.h"

#include <string>

EJPEG::EJPEG(int code) : EAppError("JPEG error #" + std::to_string(code)), code_(code) {}
