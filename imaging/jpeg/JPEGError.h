#pragma once
// A fatal error of the JPEG library: "JPEG error #%d", filled with the library's message code.
#include "common/Errors.h"

class EJPEG : public EAppError {
public:
    explicit EJPEG(int code);

    int Code() const { return code_; }

private:
    int code_;
};
