#include "common/UnitPublic.h"

#include <windows.h>

#include <memory>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/SystemError.h"
#include "common/WideTextWin32.h"

namespace {

const DWORD kChunkBytes = 1 << 20;

FileHandle OpenSource(const std::string& source)
{
    FileHandle file(CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        throw EFOpenError(source, SystemErrorText(GetLastError()));
    return file;
}

// An existing target may be replaced unless it is a folder, is read-only (checked here: under Wine as
// root the opens below ignore the attribute) or another program holds it open.
bool MayReplace(const std::string& target)
{
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    return FileHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr))
        .Valid();
}

// Copies the source's bytes, as many as its size, in large chunks.
bool CopyBytes(HANDLE from, ReplacementFile& to)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(from, &size))
        return false;
    // No larger than the file, and not cleared first: a fresh buffer's pages cost a fault each under Wine,
    // which for a small file is most of its copy.
    const ULONGLONG total = static_cast<ULONGLONG>(size.QuadPart);
    const std::unique_ptr<char[]> buffer(new char[total < kChunkBytes ? static_cast<std::size_t>(total) : kChunkBytes]);
    for (ULONGLONG left = total; left > 0;) {
        const DWORD chunk = left < kChunkBytes ? static_cast<DWORD>(left) : kChunkBytes;
        DWORD read = 0;
        if (!ReadFile(from, buffer.get(), chunk, &read, nullptr) || read != chunk || !to.Write(buffer.get(), chunk))
            return false;
        left -= chunk;
    }
    return true;
}

} // namespace

bool CopyFileByStream(const std::string& source, const std::string& target)
{
    const FileHandle from = OpenSource(source);
    if (!MayReplace(target))
        return false;
    ReplacementFile replacement(WideText(target, CP_ACP));
    return replacement.Created() && CopyBytes(from.Get(), replacement) && replacement.Commit();
}
