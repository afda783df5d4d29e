#pragma once
// The bytes that a text list gives back after splitting a text and joining its lines again (every line
// ended by CR LF, a lone CR or a lone LF made CR LF, nothing from the first NUL on), made in one pass per
// part straight into the output, with no list of lines in between: the log's memory stays about one copy
// of its bytes whatever the shape of its lines.
#include <string>
#include <string_view>

// The normalised text of head followed by that of tail, sized first and then filled in one allocation.
// head must be empty or end with CR LF, so that tail starts a line of its own; a NUL in head drops tail.
std::string NormalisedConcatenation(std::string_view head, std::string_view tail);
