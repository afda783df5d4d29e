#pragma once
// A fresh folder under the system's temporary folder (or another parent), removed with everything in it
// when the object goes. Files are read and written through the ANSI functions, so GBK names work as the
// program sees them.
#include <string>
#include <vector>

class ScratchFolder {
public:
    // parent: the folder to make it in, ending in "\"; the system's temporary folder when empty.
    explicit ScratchFolder(const std::string& prefix, const std::string& parent = "");
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    // The folder's full path, ending in "\".
    const std::string& Path() const { return path_; }

    // Makes the file hold exactly these bytes; false on failure.
    static bool Write(const std::string& path, const std::string& bytes);
    // The file's bytes, or "<unreadable>".
    static std::string Read(const std::string& path);
    // The names in the folder, sorted.
    std::vector<std::string> Names() const;
    // Every file under folder + prefix (folder ending in "\", prefix empty or ending in "\"), as paths
    // relative to folder.
    static std::vector<std::string> FilesBelow(const std::string& folder, const std::string& prefix = "");

private:
    std::string path_;
};
