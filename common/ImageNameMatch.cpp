#include "common/ImageNameMatch.h"

#include "common/AsciiUpper.h"

std::string ImageFileNamePart(const std::string& imageName, LeadBytePredicate isLeadByte)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < imageName.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(imageName[i]);
        if (isLeadByte(byte))
            ++i;
        else if (byte == '\\' || byte == ':')
            start = i + 1;
    }
    return imageName.substr(start);
}

bool ImageNameMatches(const std::string& imageName, const std::string& name, LeadBytePredicate isLeadByte)
{
    const std::string upperName = AsciiUpperCase(name);
    return AsciiUpperCase(ImageFileNamePart(imageName, isLeadByte)) == upperName ||
           AsciiUpperCase(imageName) == upperName;
}
