#include "update/FileStoreWin32.h"

#include <windows.h>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/SystemError.h"
#include "common/WideTextWin32.h"

namespace {

// Other readers allowed, writers refused while the file is open.
FileHandle OpenToRead(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    return file;
}

} // namespace

std::string FileStoreWin32::ReadWholeFile(const std::string& path)
{
    const FileHandle file = OpenToRead(path);
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

void FileStoreWin32::SaveFile(const std::string& path, ByteSource& bytes)
{
    // Probe: the target must be one that could be opened for writing with no sharing. A folder of that
    // name, a file another program holds open, or a missing folder fails here as the save would have.
    {
        FileHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD error = probe ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
            throw EFCreateError(path, SystemErrorText(error));
    }

    // The new content goes to a fresh temporary file, which then takes the target's place in one step; on
    // failure the target keeps its old content.
    ReplacementFile replacement(WideText(path, CP_ACP));
    if (!replacement.Created())
        throw EFCreateError(path, SystemErrorText(GetLastError()));
    for (std::string_view piece = bytes.Next(); !piece.empty(); piece = bytes.Next())
        if (!replacement.Write(piece.data(), piece.size()))
            throw EWriteError();
    if (!replacement.Commit())
        throw EFCreateError(path, SystemErrorText(GetLastError()));
}

bool FileStoreWin32::FileExists(const std::string& path)
{
    // The attributes, not the DOS date of the last write: a file whose last write cannot be expressed as a
    // DOS date (before 1980, after 2107) still counts as present, so its records are kept.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
