#pragma once
// The error of the GIF decoder: it ends the load, and the loader puts the stream position back.
#include "common/Errors.h"

class GIFException : public EAppError {
public:
    using EAppError::EAppError;
};
