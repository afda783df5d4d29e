#pragma once
// The program's errors. Every message is a byte string in the ANSI code page (GBK on the target systems),
// shown and logged exactly as it stands.
#include <stdexcept>
#include <string>

class EAppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file "%s". %s": a file could not be opened for reading.
class EFOpenError : public EAppError {
public:
    EFOpenError(const std::string& path, const std::string& reason);
};

// "Cannot create file "%s". %s": a file could not be created or truncated for writing.
class EFCreateError : public EAppError {
public:
    EFCreateError(const std::string& path, const std::string& reason);
};

// "Stream write error": a write stored fewer bytes than asked.
class EWriteError : public EAppError {
public:
    EWriteError();
};

// "Stream read error": a read delivered fewer bytes than a fixed-size part needs.
class EReadError : public EAppError {
public:
    EReadError();
};

// Trims a system error text the way every quoted reason is trimmed: trailing blanks, control characters
// and ASCII full stops are removed.
std::string TrimSystemReason(std::string reason);

// The silent-abort kind: raised only to leave an operation quietly; the error report drops it without a
// message. The program itself never raises one.
class EAbort : public EAppError {
public:
    EAbort();
};
