#include "UpdateWorld.h"

#include "update/UpdateRun.h"

UpdateWorld::UpdateWorld()
{
    disk.folders = {"C:", "C:\\app", "C:\\app\\Update"};
}

void UpdateWorld::Manifest(const std::string& text)
{
    disk.files[app + "Update\\UpFile.Dat"] = text;
}

void UpdateWorld::Stage(const std::string& entry, const std::string& bytes)
{
    disk.files[app + "Update\\" + entry] = bytes;
}

void UpdateWorld::Run()
{
    RunUpdate(app, {disk, disk, host, clock});
}

std::string UpdateWorld::File(const std::string& name) const
{
    const auto found = disk.files.find(app + name);
    return found == disk.files.end() ? "<absent>" : found->second;
}

std::vector<std::string> UpdateWorld::Log() const
{
    const auto found = disk.files.find(app + "UpLog.dat");
    return found == disk.files.end() ? std::vector<std::string>() : LinesOf(found->second);
}

std::vector<std::string> UpdateWorld::Events(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& event : journal)
        if (event.compare(0, prefix.size(), prefix) == 0)
            found.push_back(event);
    return found;
}
