#pragma once
// The folder part of a path: everything up to and including its last "\" or ":" (empty when it has
// neither), GBK characters taken whole. The application folder is the folder part of the program's own
// full path, and an installed file's folder is the folder part of its target.
#include <string>

std::string FolderPartOf(const std::string& path);
