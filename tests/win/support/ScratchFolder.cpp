#include "ScratchFolder.h"

#include <windows.h>

#include <algorithm>

#include "common/HandlesWin32.h"

namespace {

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const FindHandle find(FindFirstFileA((folder + "*").c_str(), &found));
    if (!find)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& folder)
{
    for (const std::string& name : NamesIn(folder)) {
        const std::string path = folder + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            RemoveTree(path + "\\");
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& prefix, const std::string& parent)
{
    std::string temp = parent;
    if (temp.empty()) {
        temp.assign(MAX_PATH + 1, '\0');
        temp.resize(GetTempPathA(static_cast<DWORD>(temp.size()), temp.data()));
    }
    static unsigned serial = 0;
    path_ = temp + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path_);
}

bool ScratchFolder::Write(const std::string& path, const std::string& bytes)
{
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ScratchFolder::Read(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return "<unreadable>";
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return "<unreadable>";
    bytes.resize(read);
    return bytes;
}

std::vector<std::string> ScratchFolder::Names() const
{
    return NamesIn(path_);
}

std::vector<std::string> ScratchFolder::FilesBelow(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    const FindHandle find(FindFirstFileA((folder + prefix + "*").c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            files.push_back(prefix + name);
            continue;
        }
        const std::vector<std::string> below = FilesBelow(folder, prefix + name + "\\");
        files.insert(files.end(), below.begin(), below.end());
    }
    return files;
}
