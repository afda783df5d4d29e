#include "common/FolderPart.h"

#include "common/GbkText.h"

// Walks whole GBK characters, so that a second byte of 0x5C is never taken for a "\".
std::string FolderPartOf(const std::string& path)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); i += GbkCharLength(path, i))
        if (path[i] == '\\' || path[i] == ':')
            end = i + 1;
    return path.substr(0, end);
}
