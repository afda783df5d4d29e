#include "update/VersionRotation.h"

#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "UpdateFakes.h"
#include "common/Errors.h"
#include "update/UpdateLog.h"

using ::testing::Contains;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

using Files = std::map<std::string, std::string>;

struct RotationWorld {
    ScopedChineseSettings settings;
    Journal journal;
    FakeDisk disk{journal};
    FakeClock clock{LocalTime{2008, 5, 8, 4, 0, 0, 0, 200}};
    LogText log;

    explicit RotationWorld(const Files& files)
    {
        disk.folders = {"C:", "C:\\app"};
        for (const auto& [name, bytes] : files)
            disk.files["C:\\app\\" + name] = bytes;
    }

    void Rotate() { RotateVersionFiles("C:\\app\\", log, {disk, disk, clock}); }

    Files Contents() const
    {
        Files files;
        for (const auto& [path, bytes] : disk.files)
            files[path.substr(std::string("C:\\app\\").size())] = bytes;
        return files;
    }
};

} // namespace

TEST(VersionRotation, StagedFileBecomesCurrentAndCurrentBecomesBackup)
{
    const struct {
        const char* name;
        Files before;
        const char* undeletable;
        Files after;
    } cases[] = {
        {"all three", {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}}, "",
         {{"QeltoUp.bak", "dat"}, {"QeltoUp.dat", "u2"}}},
        {"only the staged one", {{"QeltoU2.dat", "u2"}}, "", {{"QeltoUp.dat", "u2"}}},
        {"none", {}, "", {}},
        {"staged one missing", {{"QeltoUp.dat", "dat"}}, "", {{"QeltoUp.bak", "dat"}}},
        {"backup undeletable", {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}},
         "QeltoUp.bak", {{"QeltoUp.bak", "bak"}, {"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RotationWorld w(c.before);
        w.disk.readOnly.insert(std::string("C:\\app\\") + c.undeletable);
        w.Rotate();
        EXPECT_EQ(w.Contents(), c.after);
        EXPECT_EQ(w.log.records, "");
        EXPECT_THAT(w.journal, Not(Contains(StartsWith("save "))));
    }
}

TEST(VersionRotation, RaisedErrorAddsOneRecordAndStopsTheSteps)
{
    RotationWorld w({{"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}});
    w.disk.raiseOnExists.insert("C:\\app\\QeltoUp.dat");
    w.Rotate();
    const Files expected{{"QeltoUp.dat", "dat"}, {"QeltoU2.dat", "u2"}, {"UpLog.dat", "2008/5/8,2158983876\r\n"}};
    EXPECT_EQ(w.Contents(), expected);
}

TEST(VersionRotation, FailedSaveOfTheRecordEscapes)
{
    RotationWorld w({});
    w.disk.raiseOnExists.insert("C:\\app\\QeltoUp.bak");
    w.disk.failingSaves = 1;
    EXPECT_THROW(w.Rotate(), EFCreateError);
}
