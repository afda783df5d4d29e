#include "common/UnitPublic.h"

#include <windows.h>

#include <memory>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/HoldsWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/StreamCopyWin32.h"
#include "common/SystemError.h"
#include "common/WideTextWin32.h"

namespace {

const DWORD kChunkBytes = 1 << 20;

FileHandle OpenSource(const std::string& source, SourceHolds holds)
{
    const auto open = [&] {
        return FileHandle(CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    };
    FileHandle file = holds == SourceHolds::Outlasted ? OutlastHolds(open) : open();
    if (!file)
        throw EFOpenError(source, SystemErrorText(GetLastError()));
    return file;
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

std::unique_ptr<ReplacementFile> WriteStreamCopy(const std::string& source, const std::string& target,
                                                 SourceHolds holds)
{
    const FileHandle from = OpenSource(source, holds);
    auto replacement = std::make_unique<ReplacementFile>(WideText(target, CP_ACP));
    if (replacement->Created() && CopyBytes(from.Get(), *replacement) && replacement->Flush())
        return replacement;
    return nullptr;
}

// Whether an existing target may be replaced is checked when the copy takes its place, so that a new target
// costs no look-up before its rename. The staged source, our temporary and the target wait within one bound.
bool CopyFileByStream(const std::string& source, const std::string& target)
{
    const HoldOperation operation;
    const std::unique_ptr<ReplacementFile> copy = WriteStreamCopy(source, target, SourceHolds::Outlasted);
    return copy && copy->Commit();
}
