#include "update/TextList.h"

void TextList::SetText(std::string_view text)
{
    lines_.clear();
    // The text ends at its first NUL byte, as at its end.
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && *p != '\0') {
        const char* const start = p;
        while (p != end && *p != '\0' && *p != '\n' && *p != '\r')
            ++p;
        lines_.emplace_back(start, p);
        if (p != end && *p == '\r')
            ++p;
        if (p != end && *p == '\n')
            ++p;
    }
}

std::string TextList::Text() const
{
    std::size_t size = 0;
    for (const std::string& line : lines_)
        size += line.size() + 2;
    std::string text(size, '\0');
    char* p = text.data();
    for (const std::string& line : lines_) {
        p += line.copy(p, line.size());
        *p++ = '\r';
        *p++ = '\n';
    }
    return text;
}

void TextList::LoadFromFile(FileStore& store, const std::string& path)
{
    SetText(store.ReadWholeFile(path));
}
