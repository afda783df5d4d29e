#include "SweepScenarios.h"

#include <windows.h>

#include "support/FixturePath.h"
#include "support/UpdaterRun.h"

const char kEarlierRecord[] = "earlier run\r\n";

namespace {

void StageCommon(const UpdaterFixture& app)
{
    app.Write("UpLog.dat", kEarlierRecord);
    app.Write("QeltoUp.bak", "backup");
    app.Write("QeltoUp.dat", "current");
    app.Write("QeltoU2.dat", "staged");
}

// Writes each target's old bytes and its staged new ones.
std::vector<SweepTarget> StagePlain(const UpdaterFixture& app, const std::vector<SweepTarget>& targets)
{
    for (const SweepTarget& target : targets) {
        app.Write(target.relative, target.oldBytes);
        app.Write("Update\\" + target.relative, target.newBytes);
    }
    return targets;
}

SweepTarget Plain(const std::string& relative)
{
    return {relative, "old " + relative + "\r\n", "new " + relative + std::string(5000, '+') + "\r\n", ""};
}

std::string ArchiveMember()
{
    std::string bytes;
    for (int line = 0; line < 400; ++line)
        bytes += "exam client build 2\n"; // the one member of Deflated.zip (tools/MakeZipFixtures.py)
    return bytes;
}

const std::vector<SweepScenario> Scenarios = {
    {"plain", "two plain copies over an existing log, and a missing staged file recorded",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         app.WriteManifest({"a.txt", "missing.txt", "b.txt"});
         return StagePlain(app, {Plain("a.txt"), Plain("b.txt")});
     }},
    {"sub-folder", "an entry in a sub-folder of the application folder",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         CreateDirectoryA((app.Folder() + "sub").c_str(), nullptr);
         CreateDirectoryA((app.Folder() + "Update\\sub").c_str(), nullptr);
         app.WriteManifest({"sub\\c.txt"});
         return StagePlain(app, {Plain("sub\\c.txt")});
     }},
    {"archive", "an archive entry extracted by the archive library",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         CopyFileA(FixturePath("zip/Deflated.zip").c_str(), (app.Folder() + "Update\\data_mdb.zip").c_str(), FALSE);
         app.Write("data.mdb", "old data\r\n");
         app.WriteManifest({"data_mdb.zip"});
         return std::vector<SweepTarget>{{"data.mdb", "old data\r\n", ArchiveMember(), "data_mdb.zip"}};
     }},
    {"own-images", "the applier's own Update.exe and TkZip.dll, both in use",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         std::vector<SweepTarget> targets;
         for (const char* image : {"TkZip.dll", "Update.exe"}) {
             const std::string old = app.Read(image);
             targets.push_back({image, old, old + std::string(64, '\0') + "new build", ""});
             app.Write(std::string("Update\\") + image, targets.back().newBytes);
         }
         app.WriteManifest({"TkZip.dll", "Update.exe"});
         return targets;
     }},
    {"staged-log", "a staged UpLog.dat installed over the log, and a missing staged file recorded",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         app.Write("Update\\UpLog.dat", "staged record\r\n");
         app.WriteManifest({"UpLog.dat", "missing.txt"});
         return std::vector<SweepTarget>{};
     }},
    {"copy-failure", "a run that ends on a copy failure: a read-only target, then a plain copy",
     [](const UpdaterFixture& app) {
         StageCommon(app);
         const std::vector<SweepTarget> targets = StagePlain(app, {Plain("ro.txt"), Plain("a.txt")});
         SetFileAttributesA((app.Folder() + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
         app.WriteManifest({"ro.txt", "a.txt"});
         return targets;
     }},
};

} // namespace

const std::vector<SweepScenario>& SweepScenarios()
{
    return Scenarios;
}
