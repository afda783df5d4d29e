#include "update/FileStoreWin32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/HoldsWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/SystemError.h"
#include "common/TemporariesWin32.h"
#include "common/WideTextWin32.h"

namespace {

// The size of the pieces in which a kept file is copied.
const DWORD kCopyPiece = 128 * 1024;

// Other readers allowed, writers refused while the file is open; another program's moment's hold is
// outlasted.
FileHandle OpenToRead(const std::string& path)
{
    FileHandle file = OutlastHolds([&] {
        return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    });
    if (!file)
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    return file;
}

// Every byte of the open file, from its start, in one request into a buffer of its size.
std::string ReadAll(const FileHandle& file, const std::string& path)
{
    LARGE_INTEGER size{};
    if (!SetFilePointerEx(file.Get(), {}, nullptr, FILE_BEGIN) || !GetFileSizeEx(file.Get(), &size))
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

// Reads up to size bytes of the open file; EFOpenError on failure.
std::size_t ReadPiece(const FileHandle& file, const std::string& path, char* buffer, std::size_t size)
{
    DWORD read = 0;
    const DWORD asked = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    if (!ReadFile(file.Get(), buffer, asked, &read, nullptr))
        throw EFOpenError(path, SystemErrorText(GetLastError()));
    return read;
}

// Copies the rest of the source into the copy; false when the copy cannot take it all. A source that
// cannot be read raises EFOpenError.
bool CopyInto(const FileHandle& source, const std::string& path, const FileHandle& copy)
{
    const std::unique_ptr<char[]> buffer(new char[kCopyPiece]);
    for (std::size_t read; (read = ReadPiece(source, path, buffer.get(), kCopyPiece)) != 0;) {
        DWORD written = 0;
        if (!WriteFile(copy.Get(), buffer.get(), static_cast<DWORD>(read), &written, nullptr) || written != read)
            return false;
    }
    return true;
}

// A kept file copied into our temporaries folder, which the system removes when the copy is closed (also
// when the process is killed): a log of any size costs the run the memory of a piece.
class KeptCopy : public KeptFile {
public:
    KeptCopy(FileHandle copy, std::string path) : copy_(std::move(copy)), path_(std::move(path)) {}

    void Rewind() override
    {
        if (!SetFilePointerEx(copy_.Get(), {}, nullptr, FILE_BEGIN))
            throw EFOpenError(path_, SystemErrorText(GetLastError()));
    }

    std::size_t Read(char* buffer, std::size_t size) override { return ReadPiece(copy_, path_, buffer, size); }

    void StopReading() override {}

private:
    FileHandle copy_;
    const std::string path_; // the kept file's, named by errors
};

// A kept file under a second name of ours (a hard link in our temporaries folder): when a save or an
// installed file is renamed over the file's own name, the bytes it held live on under ours, at no cost
// of a copy. The link is opened only while it is read: on Windows a file that a handle holds open cannot
// be renamed over, whichever of its names the handle was opened by. The name goes with the object; one
// left by a killed run goes with the next run's clearing of our temporaries.
class KeptLink : public KeptFile {
public:
    KeptLink(std::wstring link, std::string path) : link_(std::move(link)), path_(std::move(path)) {}
    KeptLink(const KeptLink&) = delete;
    KeptLink& operator=(const KeptLink&) = delete;

    // A name that cannot be removed now (a program holds the log without letting it be deleted) is tried
    // again as the program ends.
    ~KeptLink() override
    {
        file_.Reset();
        RemoveTemporary(link_);
    }

    void Rewind() override
    {
        file_.Reset();
        stopped_ = false;
    }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        if (stopped_)
            return 0;
        if (!file_)
            Open();
        const std::size_t read = ReadPiece(file_, path_, buffer, size);
        if (read == 0)
            StopReading();
        return read;
    }

    void StopReading() override
    {
        file_.Reset();
        stopped_ = true;
    }

private:
    // A moment's hold on the file, by any of its names, is outlasted.
    void Open()
    {
        file_ = OutlastHolds([&] {
            return FileHandle(CreateFileW(link_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        });
        if (!file_)
            throw EFOpenError(path_, SystemErrorText(GetLastError()));
    }

    const std::wstring link_;
    const std::string path_; // the kept file's, named by errors
    FileHandle file_;
    bool stopped_ = false; // read to its end or stopped: nothing more until a Rewind
};

// A kept file held in memory, where no copy of ours could be written.
class KeptBytes : public KeptFile {
public:
    explicit KeptBytes(std::string bytes) : bytes_(std::move(bytes)) {}

    void Rewind() override { at_ = 0; }

    void StopReading() override {}

    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min(size, bytes_.size() - at_);
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return count;
    }

private:
    const std::string bytes_;
    std::size_t at_ = 0;
};

} // namespace

std::string FileStoreWin32::ReadWholeFile(const std::string& path)
{
    return ReadAll(OpenToRead(path), path);
}

std::unique_ptr<KeptFile> FileStoreWin32::KeepFile(const std::string& path)
{
    FileHandle source = OpenToRead(path);
    // A read-only file is copied: a second name for it could not be deleted again.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(source.Get(), &information) &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0) {
        source.Reset(); // the link is made while nothing of ours holds the file open
        std::wstring link;
        if (LinkTemporary(WideText(path, CP_ACP), link))
            return std::make_unique<KeptLink>(std::move(link), path);
        source = OpenToRead(path);
    }
    std::wstring copyPath;
    FileHandle copy = CreateTemporary(GENERIC_READ | GENERIC_WRITE,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, copyPath);
    if (copy && CopyInto(source, path, copy))
        return std::make_unique<KeptCopy>(std::move(copy), path);
    return std::make_unique<KeptBytes>(ReadAll(source, path));
}

void FileStoreWin32::SaveFile(const std::string& path, ByteSource& bytes)
{
    const HoldOperation operation; // the log, its kept name and our temporary wait within one bound
    // Probe: the target must be one that could be opened for writing with no sharing. A folder of that
    // name, a file another program holds open beyond a moment, or a missing folder fails here as the save
    // would have.
    {
        const FileHandle probe = OutlastHolds([&] {
            return FileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        });
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

std::vector<std::string> FileStoreWin32::LeftKeptFiles()
{
    std::vector<std::string> paths;
    for (const std::wstring& path : LeftKeptOnlyNames(TemporariesFolder()))
        paths.push_back(NarrowText(path, CP_ACP));
    return paths;
}

void FileStoreWin32::ForgetLeftKeptFile(const std::string& path)
{
    DeleteFileA(path.c_str());
}
