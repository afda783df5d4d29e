#pragma once
// The text that the error report shows for an error's message: the message itself, followed by "." when
// the message is not empty and its last character, compared as a byte string with ".", sorts after it.
// So a last single-byte character above 0x2E, or any last double-byte GBK character, gets the "."; a
// message ending in ".", "!", ")", a blank or any other byte at or below 0x2E gets nothing. The last
// character is found by walking GBK characters from the start (common/GbkText.h), so that a
// malformed pair such as lead byte + "." still counts as one double-byte character.
#include <string>

std::string ErrorText(const std::string& message);
