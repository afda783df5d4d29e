#pragma once
// The bytes that a text list gives back after splitting a text and joining its lines again (every line
// ended by CR LF, a lone CR or a lone LF made CR LF, nothing from the first NUL on), made in one pass over
// the text with no list of lines in between: the log's memory stays about one copy of its bytes whatever
// the shape of its lines.
#include <string>
#include <string_view>

// Makes text the normalised text of head followed by that of text. head must be empty or end with CR LF,
// so that text starts a line of its own; a NUL in head drops text. A text that is normalised already (as
// every log this program wrote) is only scanned, and head goes in front of it in its own buffer when its
// capacity has room; any other text is rebuilt in a new buffer, sized first and then filled.
void PrependNormalised(std::string_view head, std::string& text);
