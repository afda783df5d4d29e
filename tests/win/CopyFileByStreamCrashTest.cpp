// A copy killed half-way leaves the old target intact: this test program starts itself again to run the
// child test, which copies a large file, and terminates it while the copy is under way.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "common/ApplicationFolder.h"
#include "common/HandlesWin32.h"
#include "common/TemporariesWin32.h"
#include "common/UnitPublic.h"
#include "support/ScratchFolder.h"

namespace {

// Set for the child only: the scratch folder holding source.bin and target.bin.
const char kChildFolderVariable[] = "UPDATER_COPY_CRASH_FOLDER";
const DWORD kChunkBytes = 1 << 20;
const int kLargeChunks = 256;
const UINT kKilledExitCode = 99;
const ULONGLONG kStartTimeoutMs = 60000;

std::string ChildFolder()
{
    std::string value(MAX_PATH * 2, '\0');
    value.resize(GetEnvironmentVariableA(kChildFolderVariable, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

bool WriteLargeFile(const std::string& path)
{
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string chunk(kChunkBytes, '\0');
    for (int i = 0; file && i < kLargeChunks; ++i) {
        chunk.assign(kChunkBytes, static_cast<char>('a' + i % 26));
        DWORD written = 0;
        if (!WriteFile(file.Get(), chunk.data(), kChunkBytes, &written, nullptr) || written != kChunkBytes)
            return false;
    }
    return file.Valid();
}

// The size of the copy's temporary file in the temporaries folder of the copying program (this test
// program, started again as the child); 0 while there is none.
ULONGLONG TemporaryFileSize()
{
    WIN32_FIND_DATAW found{};
    const std::wstring temporaries = TemporariesFolder();
    const FindHandle find(FindFirstFileW((temporaries + L"*.tmp").c_str(), &found));
    return find ? (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow : 0;
}

KernelHandle StartChild(const std::string& folder)
{
    std::string command =
        "\"" + ProgramPath() + "\" --gtest_filter=CopyFileByStreamCrash.ChildCopiesALargeFile";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    SetEnvironmentVariableA(kChildFolderVariable, folder.c_str());
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kChildFolderVariable, nullptr);
    if (!started)
        return KernelHandle();
    CloseHandle(process.hThread);
    return KernelHandle(process.hProcess);
}

// Waits until the copy has written at least one chunk (true), or the child has ended or never started.
bool AwaitCopyUnderWay(HANDLE child, const std::string& folder)
{
    const ULONGLONG start = GetTickCount64();
    while (WaitForSingleObject(child, 0) == WAIT_TIMEOUT && GetTickCount64() - start < kStartTimeoutMs) {
        if (TemporaryFileSize() >= kChunkBytes)
            return true;
        Sleep(1);
    }
    return false;
}

} // namespace

TEST(CopyFileByStreamCrash, ChildCopiesALargeFile)
{
    const std::string folder = ChildFolder();
    if (folder.empty())
        GTEST_SKIP() << "runs only as the child of KilledMidCopyLeavesTheOldTargetIntact";
    EXPECT_TRUE(CopyFileByStream(folder + "source.bin", folder + "target.bin"));
}

TEST(CopyFileByStreamCrash, KilledMidCopyLeavesTheOldTargetIntact)
{
    ScratchFolder folder("CopyFileByStreamCrash");
    const std::string target = folder.Path() + "target.bin";
    ASSERT_TRUE(WriteLargeFile(folder.Path() + "source.bin"));
    ASSERT_TRUE(ScratchFolder::Write(target, "old target bytes"));

    const KernelHandle child = StartChild(folder.Path());
    ASSERT_TRUE(child);
    const bool underWay = AwaitCopyUnderWay(child.Get(), folder.Path());
    TerminateProcess(child.Get(), kKilledExitCode);
    WaitForSingleObject(child.Get(), INFINITE);

    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeProcess(child.Get(), &exitCode));
    ASSERT_TRUE(underWay) << "the copy was never seen under way";
    ASSERT_EQ(exitCode, kKilledExitCode) << "the child ended before it could be killed mid-copy";
    EXPECT_EQ(ScratchFolder::Read(target), "old target bytes");
}
