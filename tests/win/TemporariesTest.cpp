// Clearing a temporaries folder at the start of a run: the files of ended processes and this process's
// own go, but for the names this process keeps and an ended process's kept name that is its file's only
// name; those of a running process and names of other forms stay, and the folder goes once it is empty.
#include "common/TemporariesWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ApplicationFolder.h"
#include "common/WideTextWin32.h"
#include "support/ScratchFolder.h"
#include "support/UpdaterRun.h"

namespace {

std::string Narrow(const std::wstring& name)
{
    return std::string(name.begin(), name.end());
}

std::string Name(DWORD processId, unsigned serial)
{
    return Narrow(TemporaryName(processId, serial));
}

std::string Kept(DWORD processId, unsigned serial)
{
    return Narrow(KeptName(processId, serial));
}

// A copy of this test program that only waits (support/SleeperWin32.cpp), in its own folder.
StartedProcess StartSleeper()
{
    SetEnvironmentVariableA("UPDATER_SLEEPER", "1");
    StartedProcess sleeper("\"" + ProgramPath() + "\"", ApplicationFolder(), -1);
    SetEnvironmentVariableA("UPDATER_SLEEPER", nullptr);
    return sleeper;
}

TEST(RemoveLeftTemporaries, RemovesTheFilesOfEndedProcessesOnlyThenTheEmptyFolder)
{
    ScratchFolder folder("Temporaries");
    const StartedProcess running = StartSleeper();
    DWORD ended = 0;
    {
        const StartedProcess killed = StartSleeper();
        ended = killed.Id();
    }
    const std::string onlyName = Kept(ended, 7);
    std::vector<std::string> kept = {Name(running.Id(), 3), Kept(running.Id(), 4), Kept(GetCurrentProcessId(), 5),
                                     onlyName, "notours.tmp", "readme.txt"};
    std::sort(kept.begin(), kept.end());
    for (const std::string& name : {Name(ended, 1), Name(GetCurrentProcessId(), 2)})
        ASSERT_TRUE(ScratchFolder::Write(folder.Path() + name, "left"));
    for (const std::string& name : kept)
        ASSERT_TRUE(ScratchFolder::Write(folder.Path() + name, "kept"));
    // A kept name whose file has another name (the log's own) goes.
    ASSERT_TRUE(CreateHardLinkA((folder.Path() + Kept(ended, 6)).c_str(), (folder.Path() + "readme.txt").c_str(), nullptr));

    EXPECT_EQ(LeftKeptOnlyNames(WideText(folder.Path(), CP_ACP)),
              std::vector<std::wstring>{WideText(folder.Path() + onlyName, CP_ACP)});
    RemoveLeftTemporaries(WideText(folder.Path(), CP_ACP));
    EXPECT_EQ(folder.Names(), kept);

    for (const std::string& name : kept)
        DeleteFileA((folder.Path() + name).c_str());
    RemoveLeftTemporaries(WideText(folder.Path(), CP_ACP));
    EXPECT_EQ(GetFileAttributesA(folder.Path().c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
