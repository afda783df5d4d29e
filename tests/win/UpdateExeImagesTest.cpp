// The applier installing its own files: a release that ships a new Update.exe and TkZip.dll, both images
// that the running applier has in use, installs them by renaming each old image aside into the
// temporaries folder; the next run, by the new programs, works and clears what was put aside. And the
// state a kill between the two renames leaves: the next run puts the image back where nothing took its
// place.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/AsideName.h"
#include "common/HandlesWin32.h"
#include "common/WideTextWin32.h"
#include "support/FixturePath.h"
#include "support/UpdaterRun.h"

namespace {

const char Temporaries[] = "Update\\~upd\\";

std::string Narrow(const std::wstring& name)
{
    return std::string(name.begin(), name.end());
}

// The origins of the images put aside by the process, sorted.
std::vector<std::wstring> AsidesOf(const UpdaterFixture& app, DWORD processId)
{
    std::vector<std::wstring> origins;
    WIN32_FIND_DATAW found{};
    const FindHandle find(FindFirstFileW(WideText(app.Folder() + Temporaries + "*", CP_ACP).c_str(), &found));
    std::wstring origin;
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        if (std::wstring(found.cFileName).rfind(std::to_wstring(processId) + L"-", 0) == 0 &&
            AsideOrigin(found.cFileName, origin))
            origins.push_back(origin);
    std::sort(origins.begin(), origins.end());
    return origins;
}

class UpdateExeImagesTest : public testing::Test {
protected:
    void StageArchive(const char* fixture, const std::string& entry) const
    {
        ASSERT_TRUE(CopyFileA(FixturePath(std::string("zip/") + fixture).c_str(),
                              (app.Folder() + "Update\\" + entry).c_str(), FALSE));
    }

    UpdaterFixture app;
};

// The staged programs are the real ones with bytes appended, which they still run with and which show
// that the new files are in place.
TEST_F(UpdateExeImagesTest, InstallsItsOwnProgramAndLibraryAndTheNextRunClearsWhatWasPutAside)
{
    const std::string oldProgram = app.Read("Update.exe");
    const std::string oldLibrary = app.Read("TkZip.dll");
    const std::string newProgram = oldProgram + "new Update.exe";
    const std::string newLibrary = oldLibrary + "new TkZip.dll";
    app.WriteManifest({"a_dat.zip", "TkZip.dll", "Update.exe", "b_dat.zip"});
    StageArchive("Stored.zip", "a_dat.zip");
    StageArchive("Deflated.zip", "b_dat.zip");
    app.Write("Update\\TkZip.dll", newLibrary);
    app.Write("Update\\Update.exe", newProgram);
    app.Write("QeltoUp.dat", "current");
    app.Write("QeltoU2.dat", "staged");

    {
        StartedProcess run = app.Start("-UR");
        ASSERT_TRUE(run.Ended());
        EXPECT_EQ(run.ExitCode(), 0u);
        EXPECT_FALSE(app.Exists("UpLog.dat")) << app.Read("UpLog.dat");
        EXPECT_EQ(app.Read("a.dat"), "stored member\r\n");
        std::string built;
        for (int line = 0; line < 400; ++line)
            built += "exam client build 2\n"; // the one member of Deflated.zip (tools/MakeZipFixtures.py)
        EXPECT_EQ(app.Read("b.dat"), built) << "extracted by the library in use, after its file was replaced";
        EXPECT_TRUE(app.Read("TkZip.dll") == newLibrary) << "the new library is in place";
        EXPECT_TRUE(app.Read("Update.exe") == newProgram) << "the new program is in place";
        EXPECT_EQ(app.Read("QeltoUp.dat"), "staged");
        EXPECT_EQ(app.ClientStartsOnceThereAre(1).size(), 1u) << "the client is relaunched";
        EXPECT_EQ(AsidesOf(app, run.Id()), (std::vector<std::wstring>{L"TkZip.dll", L"Update.exe"}));
    }

    app.WriteManifest({"c.txt"});
    app.Write("Update\\c.txt", "new c");
    app.Write("QeltoU2.dat", "staged 2");
    StartedProcess next = app.Start("-UR");
    ASSERT_TRUE(next.Ended());
    EXPECT_EQ(next.ExitCode(), 0u);
    EXPECT_FALSE(app.Exists("UpLog.dat")) << app.Read("UpLog.dat");
    EXPECT_EQ(app.Read("c.txt"), "new c");
    EXPECT_EQ(app.Read("QeltoUp.dat"), "staged 2");
    EXPECT_EQ(app.ClientStartsOnceThereAre(2).size(), 2u) << "the new program relaunches the client";
    EXPECT_FALSE(app.Exists(Temporaries)) << "the images put aside are gone, and with them the folder";
}

// A kill between renaming an image aside and renaming its new file in leaves the image only under its
// aside name; the next run puts it back. An aside whose place is taken goes.
TEST_F(UpdateExeImagesTest, TheNextRunPutsBackAnImageThatAKillLeftAsideAndRemovesOneWhosePlaceIsTaken)
{
    DWORD killed = 0;
    {
        const StartedProcess client = app.StartClient("QeltoExam.exe");
        killed = client.Id();
    }
    CreateDirectoryA((app.Folder() + "Sub").c_str(), nullptr);
    CreateDirectoryA((app.Folder() + Temporaries).c_str(), nullptr);
    const std::string missing = Temporaries + Narrow(AsideName(killed, 1, L"Sub\\Lib.dll"));
    const std::string replaced = Temporaries + Narrow(AsideName(killed, 2, L"Plugin.dll"));
    app.Write(missing, "old library");
    app.Write(replaced, "old plugin");
    app.Write("Plugin.dll", "new plugin");
    app.WriteManifest({});

    StartedProcess run = app.Start("-UR");
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(app.Read("Sub\\Lib.dll"), "old library") << "put back where it came from";
    EXPECT_EQ(app.Read("Plugin.dll"), "new plugin");
    EXPECT_FALSE(app.Exists(missing));
    EXPECT_FALSE(app.Exists(replaced));
    EXPECT_FALSE(app.Exists(Temporaries));
}

} // namespace
