// The version file rotation on real files, through the Win32 file operations.
#include <windows.h>

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/ScratchFolder.h"
#include "update/FileStoreWin32.h"
#include "update/UpdateLog.h"
#include "update/UpdateFilesWin32.h"
#include "update/VersionRotation.h"

namespace {

using Files = std::map<std::string, std::string>;

class NoonClock : public Clock {
public:
    LocalTime Now() override { return LocalTime{2008, 5, 7, 3, 12, 0, 0, 0}; }
};

Files Contents(const ScratchFolder& folder)
{
    Files files;
    for (const std::string& name : folder.Names())
        files[name] = ScratchFolder::Read(folder.Path() + name);
    return files;
}

} // namespace

TEST(VersionRotationFiles, StagedFileBecomesCurrentAndCurrentBecomesBackup)
{
    const struct {
        const char* name;
        Files before;
        bool backupReadOnly;
        Files after;
    } cases[] = {
        {"all three", {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}}, false,
         {{"QeltoUp.bak", "dat"}, {"QeltoUp.dat", "u2"}}},
        {"only the staged one", {{"QeltoU2.dat", "u2"}}, false, {{"QeltoUp.dat", "u2"}}},
        {"none", {}, false, {}},
        {"backup undeletable", {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}}, true,
         {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("VersionRotationFiles");
        for (const auto& [name, bytes] : c.before)
            ASSERT_TRUE(ScratchFolder::Write(folder.Path() + name, bytes));
        if (c.backupReadOnly) {
            ASSERT_TRUE(SetFileAttributesA((folder.Path() + "QeltoUp.bak").c_str(), FILE_ATTRIBUTE_READONLY));
        }
        FileStoreWin32 store;
        UpdateFilesWin32 files;
        NoonClock clock;
        LogText log;

        RotateVersionFiles(folder.Path(), log, {store, files, clock});

        EXPECT_EQ(Contents(folder), c.after);
        EXPECT_EQ(log.records, "");
    }
}
