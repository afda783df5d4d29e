#include "common/FolderPart.h"

std::string FolderPartOf(const std::string& path)
{
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}
