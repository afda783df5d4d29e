#pragma once
// Upper-casing as the program does it everywhere (the command-line switch, the process-name comparison,
// the hexadecimal decoder): byte by byte, only "a" to "z" become "A" to "Z". Double-byte characters are
// not recognised, so a trail byte in that range is changed too.
#include <string>

std::string AsciiUpperCase(std::string text);

// One byte upper-cased the same way.
char AsciiUpperChar(char c);
