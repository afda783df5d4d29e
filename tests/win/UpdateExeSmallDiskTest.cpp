// The real Update.exe on a nearly full disk: a small file system (a tmpfs that the tests' fixture mounts in
// the build tree, tests/smalldisk) where one file after the other fits and several copies at once do not.
// The install pipeline writes copies ahead, each needing a temporary of its file's size; one that cannot be
// written ahead is made again in its turn, and the run must succeed wherever one file after the other would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/HandlesWin32.h"
#include "support/MessageBoxWatcher.h"
#include "support/UpdaterRun.h"

namespace {

const ULONGLONG kMiB = 1024 * 1024;
const ULONGLONG kFileBytes = 8 * kMiB;
const ULONGLONG kLeftFree = 12 * kMiB; // one file's temporary fits, two do not
const ULONGLONG kLargestSmallDisk = 1024 * kMiB;

// The small disk's folder, ending in "\"; empty when it is not mounted (this user may not mount).
std::string SmallDisk()
{
    const std::string folder = ProgramsFolder() + "small-disk\\";
    ULARGE_INTEGER total{};
    if (!GetDiskFreeSpaceExA(folder.c_str(), nullptr, &total, nullptr) || total.QuadPart > kLargestSmallDisk)
        return "";
    return folder;
}

ULONGLONG FreeBytes(const std::string& folder)
{
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

// Takes up the disk's space down to `left` bytes, with bytes written (a file of holes would take none).
bool Fill(const std::string& path, ULONGLONG left)
{
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string piece(static_cast<std::size_t>(kMiB / 4), 'f');
    for (ULONGLONG free = FreeBytes(path.substr(0, path.find_last_of('\\') + 1)); free > left + piece.size();
         free -= piece.size()) {
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr))
            return false;
    }
    return file.Valid();
}

} // namespace

// Four files of 8 MiB replace four of the same size with 12 MiB free: one after the other they fit, four
// copies written ahead at once do not. The run installs all four, rotates and relaunches, with no notice.
TEST(UpdateExeSmallDiskTest, ADiskThatHoldsOneFileAtATimeSufficesForTheRun)
{
    const std::string disk = SmallDisk();
    if (disk.empty())
        GTEST_SKIP() << "no small file system is mounted at " << ProgramsFolder() << "small-disk (mounting needs root)";
    UpdaterFixture app("Update.exe", disk);
    std::vector<std::string> manifest;
    for (char i = '0'; i < '4'; ++i) {
        const std::string name = std::string("big") + i + ".bin";
        app.Write(name, std::string(static_cast<std::size_t>(kFileBytes), i));
        app.Write("Update\\" + name, std::string(static_cast<std::size_t>(kFileBytes), static_cast<char>(i + 10)));
        manifest.push_back(name);
    }
    app.WriteManifest(manifest);
    app.Write("QeltoU2.dat", "staged");
    ASSERT_TRUE(Fill(app.Folder() + "filler.bin", kLeftFree));
    ASSERT_LT(FreeBytes(app.Folder()), 2 * kFileBytes) << "two copies at once must not fit";

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    ASSERT_TRUE(run.Ended()) << "a copy failure leaves the window open: " << watcher.Seen().size() << " box(es)";
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_TRUE(watcher.Seen().empty()) << "no copy failure";
    for (char i = '0'; i < '4'; ++i)
        EXPECT_EQ(app.Read(std::string("big") + i + ".bin"), std::string(static_cast<std::size_t>(kFileBytes), static_cast<char>(i + 10))) << i;
    EXPECT_FALSE(app.Exists("UpLog.dat"));
    EXPECT_EQ(app.Read("QeltoUp.dat"), "staged");
    EXPECT_EQ(app.ClientStartsOnceThereAre(1).size(), 1u) << "relaunched";
}
