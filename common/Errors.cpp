#include "common/Errors.h"

EFOpenError::EFOpenError(const std::string& path, const std::string& reason)
    : EAppError("Cannot open file \"" + path + "\". " + TrimSystemReason(reason)) {}

EFCreateError::EFCreateError(const std::string& path, const std::string& reason)
    : EAppError("Cannot create file \"" + path + "\". " + TrimSystemReason(reason)) {}

EWriteError::EWriteError() : EAppError("Stream write error") {}

EReadError::EReadError() : EAppError("Stream read error") {}

std::string TrimSystemReason(std::string reason)
{
    while (!reason.empty()) {
        const unsigned char last = static_cast<unsigned char>(reason.back());
        if (last > ' ' && last != '.')
            break;
        reason.pop_back();
    }
    return reason;
}

EAbort::EAbort() : EAppError("Operation aborted") {}
