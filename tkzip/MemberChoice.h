#pragma once
// Which archive member installs to a target. Member names use "/" as their only separator, as the
// archive format prescribes; a "\" is part of a name (it can be the trail byte of a GBK character).
// Files are the members whose names are not empty and do not end in "/"; folder entries never count.
// An archive with exactly one file installs that file, whatever its name. With several, the first file
// whose last path component equals the target's file name, ASCII letter case ignored, is chosen.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The part of a member name after its last "/".
std::string LastPathComponent(const std::string& memberName);

// memberNames are the members' stored names in archive order; targetNames are the target's file name in
// each encoding that a stored name may use. Gives the chosen member's index, or nothing when the archive
// holds no file, or several and none matches.
std::optional<std::size_t> ChooseMember(const std::vector<std::string>& memberNames,
                                        const std::vector<std::string>& targetNames);
