#include "update/VersionRotation.h"

#include <exception>

#include "update/UpdateLog.h"

namespace {

const char kVersionFile[] = "QeltoUp.dat";
const char kStagedVersionFile[] = "QeltoU2.dat";
const char kBackupVersionFile[] = "QeltoUp.bak";

void RotateSteps(const std::string& folder, FileStore& store, UpdateFiles& files)
{
    const std::string current = folder + kVersionFile;
    const std::string backup = folder + kBackupVersionFile;
    if (store.FileExists(backup))
        files.RemoveFile(backup);
    if (store.FileExists(current))
        files.RenameFile(current, backup);
    files.RenameFile(folder + kStagedVersionFile, current);
}

} // namespace

void RotateVersionFiles(const std::string& applicationFolder, LogText& log, const RotationServices& services)
{
    try {
        RotateSteps(applicationFolder, services.store, services.files);
    } catch (const std::exception&) {
        AddRecord(log, RotationErrorRecord(services.clock), services.store, applicationFolder);
    }
}
