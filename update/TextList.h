#pragma once
// An ordered list of byte-string lines, as the manifest and the log hold them. Splitting ends a line at
// CR LF, a lone CR or a lone LF and stops at the first NUL; joining ends every line with CR LF.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "update/FileStore.h"

class TextList {
public:
    // Clears the list and fills it by splitting the text; an empty text leaves it empty.
    void SetText(std::string_view text);
    // Every line followed by CR LF; sized first, then filled.
    std::string Text() const;

    std::size_t Count() const { return lines_.size(); }
    const std::string& Entry(std::size_t index) const { return lines_.at(index); }

    // Replaces the content by the file's lines, read whole through the store (EFOpenError).
    void LoadFromFile(FileStore& store, const std::string& path);

private:
    std::vector<std::string> lines_;
};
