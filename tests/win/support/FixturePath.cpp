#include "support/FixturePath.h"

std::string FixturePath(const std::string& relative)
{
    std::string path = std::string("Z:") + FIXTURES_DIR + "/" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
