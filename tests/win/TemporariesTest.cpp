// Clearing a temporaries folder at the start of a run: the files of ended processes and this process's
// own go, but for the names this process keeps and an ended process's kept name that is its file's only
// name; those of a running process and names of other forms stay, and the folder goes once it is empty. An
// image that an ended process put aside goes back where it came from when that is missing, else it goes;
// this process's and a running one's stay.
#include "common/TemporariesWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "common/AsideName.h"
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

// The state that a kill between renaming an image aside and renaming the new file in leaves, and others
// beside it, in an application folder's temporaries folder.
TEST(RemoveLeftTemporaries, PutsAnEndedProcesssImageBackWhereItsPlaceIsEmptyElseRemovesIt)
{
    ScratchFolder application("Aside");
    const std::wstring temporaries = TemporariesFolderOf(WideText(application.Path(), CP_ACP));
    ASSERT_TRUE(MakeTemporariesFolder(temporaries));
    const StartedProcess running = StartSleeper();
    DWORD ended = 0;
    {
        const StartedProcess killed = StartSleeper();
        ended = killed.Id();
    }
    const struct {
        const char* why;
        DWORD owner;
        std::wstring origin;
        bool originThere;
        bool asideStays;
        const char* originAfter;
    } cases[] = {
        {"ended, its place empty: put back", ended, L"Update.exe", false, false, "image 0"},
        {"ended, its place taken: removed", ended, L"TkZip.dll", true, false, "new 1"},
        {"ended, its folder gone: left", ended, L"Gone\\Lib.dll", false, true, "<unreadable>"},
        {"this process's: mapped, kept", GetCurrentProcessId(), L"Own.dll", false, true, "<unreadable>"},
        {"a running process's: kept", running.Id(), L"Runs.dll", false, true, "<unreadable>"},
    };
    const auto asideOf = [&](unsigned i) {
        return Narrow(temporaries + AsideName(cases[i].owner, i + 1, cases[i].origin));
    };
    const auto originOf = [&](unsigned i) { return application.Path() + Narrow(cases[i].origin); };
    for (unsigned i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(ScratchFolder::Write(asideOf(i), "image " + std::to_string(i))) << cases[i].why;
        if (cases[i].originThere) {
            ASSERT_TRUE(ScratchFolder::Write(originOf(i), "new " + std::to_string(i))) << cases[i].why;
        }
    }
    const std::string undecodable = Narrow(temporaries) + std::to_string(ended) + "-aside-9-zz.tmp";
    ASSERT_TRUE(ScratchFolder::Write(undecodable, "image"));

    RemoveLeftTemporaries(temporaries);

    for (unsigned i = 0; i < std::size(cases); ++i) {
        const bool asideThere = GetFileAttributesA(asideOf(i).c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(asideThere, cases[i].asideStays) << cases[i].why;
        EXPECT_EQ(ScratchFolder::Read(originOf(i)), cases[i].originAfter) << cases[i].why;
    }
    EXPECT_NE(GetFileAttributesA(undecodable.c_str()), INVALID_FILE_ATTRIBUTES) << "an aside of no known origin stays";
}

} // namespace
