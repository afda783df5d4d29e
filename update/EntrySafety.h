#pragma once
// Manifest entries may name only files inside the application folder. An entry that is an absolute path
// (a leading "\" or "/", or a drive "X:" at its start) or that has a parent segment is refused before
// anything is read or written, and the refusal is logged as an entry error.
// A parent segment is any segment between "\" or "/" made of dots and blanks only with at least two
// dots: the system drops trailing dots and blanks from names, so ". ." and ".. " are treated like "..".
// A segment that names a device (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, in any case,
// with or without an extension, with trailing blanks) is refused too: opening it would reach the device
// (a serial port, the console, the null device) instead of a file.
#include <optional>
#include <string>

#include "common/Errors.h"

// Why the relative name would reach outside the application folder or a device; nothing when it names a
// file inside.
std::optional<std::string> UnsafePathReason(const std::string& name);

// Whether the relative name may name the staging folder "Update\" or something inside it, as the system
// reads names: its first segment that is not "." or blank is "Update" in any case, read up to a ":" and
// without trailing dots and blanks ("update/a", ".\UPDATE.\a" and "Update :x" all qualify).
bool MayNameStagingFolder(const std::string& name);

// "Refused unsafe entry "%s": %s" with the entry and the reason.
class EUnsafeEntry : public EAppError {
public:
    EUnsafeEntry(const std::string& entry, const std::string& reason);
};
