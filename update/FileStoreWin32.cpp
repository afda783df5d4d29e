#include "update/FileStoreWin32.h"

#include <windows.h>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/SystemError.h"

namespace {

// The folder part of a path, up to and including its last "\", "/" or ":". Walks the path character by
// character in the ANSI code page, so that the second byte of a GBK character (which may be 0x5C) is never
// taken for a separator. "." when the path has no folder part.
std::string FolderOf(const std::string& path)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':')
            end = i + 1;
    }
    return end == 0 ? std::string(".") : path.substr(0, end);
}

// A temporary file that is deleted when it goes out of scope, unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

} // namespace

std::string FileStoreWin32::ReadWholeFile(const std::string& path)
{
    // Other readers allowed, writers refused while the file is open.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    // One request of a DWORD count reads it all; a larger file is not a text list of this program.
    if (size.QuadPart > 0x7FFFFFFF)
        throw EFOpenError(path, SystemErrorText(ERROR_FILE_TOO_LARGE));
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    bytes.resize(read);
    return bytes;
}

void FileStoreWin32::WriteWholeFile(const std::string& path, std::string_view bytes)
{
    // Probe: the target must be one that could be opened for writing with no sharing. A folder of that
    // name, a file another program holds open, or a missing folder fails here as the save would have.
    bool exists = true;
    {
        FileHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND)
                throw EFCreateError(path, SystemErrorText(error));
            exists = false;
        }
    }

    // The new content goes to a fresh temporary file beside the target, written in one request.
    char tempName[MAX_PATH + 1] = {};
    if (GetTempFileNameA(FolderOf(path).c_str(), "upd", 0, tempName) == 0)
        throw EFCreateError(path, SystemErrorText(GetLastError()));
    TemporaryFile temp(tempName);
    {
        FileHandle file(CreateFileA(temp.Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw EFCreateError(path, SystemErrorText(GetLastError()));
        if (bytes.size() > MAXDWORD)
            throw EWriteError();
        DWORD written = 0;
        if (!bytes.empty() &&
            (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
             written != bytes.size()))
            throw EWriteError();
        FlushFileBuffers(file.Get());
    }

    // The temporary file takes the target's place; on failure the target keeps its old content.
    const BOOL replaced =
        exists ? ReplaceFileA(path.c_str(), temp.Path().c_str(), nullptr,
                              REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)
               : MoveFileExA(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced)
        throw EFCreateError(path, SystemErrorText(GetLastError()));
    temp.Keep();
}

bool FileStoreWin32::FileExists(const std::string& path)
{
    // The attributes, not the DOS date of the last write: a file whose last write cannot be expressed as a
    // DOS date (before 1980, after 2107) still counts as present, so its records are kept.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
