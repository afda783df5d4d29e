#pragma once
// Whether a process's image name matches a name, as the process termination decides it: first the file-name
// part of the image name (after its last "\" or ":"), then the whole image name, each upper-cased byte-wise
// (AsciiUpperCase) and compared byte for byte with the upper-cased name.
//
// The caller says which bytes are lead bytes of a double-byte character in the system's ANSI code page; the
// byte after a lead byte is never a separator (a GBK character may end in 0x5C, the byte of "\").
#include <string>

using LeadBytePredicate = bool (*)(unsigned char byte);

// Everything after the last "\" or ":" that is not the second byte of a double-byte character; the whole
// image name when there is no separator.
std::string ImageFileNamePart(const std::string& imageName, LeadBytePredicate isLeadByte);

bool ImageNameMatches(const std::string& imageName, const std::string& name, LeadBytePredicate isLeadByte);
