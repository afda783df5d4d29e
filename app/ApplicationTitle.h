#pragma once
// The application title: the program file's name after the last "\" of its full path, cut at its first
// ".", with every character after the first turned into lower case. The text is read as GBK characters:
// the first character is a whole character (one or two bytes), and a 0x5C trail byte of a double-byte
// character is not taken for a "\".
#include <functional>
#include <string>

// Turns a text into lower case. The core leaves letter case to the caller, since lower-casing beyond
// ASCII is the system's business (CharLowerBuffA on Windows).
using LowerCaseFunction = std::function<std::string(const std::string&)>;

// Cuts `programPath` down to the title and hands the part after the first character to `lowerCase`.
std::string ApplicationTitle(const std::string& programPath, const LowerCaseFunction& lowerCase);

// The title of a program path as the system gives it: the path converted from the OEM to the ANSI code
// page first, and the system's lower-casing. Windows only (ApplicationTitleWin32.cpp).
std::string SystemApplicationTitle(const std::string& programPath);
