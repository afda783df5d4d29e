#include "SweepRun.h"

#include <windows.h>

#include <set>
#include <sstream>

#include "support/InjectedStart.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"
#include "support/UpdaterRun.h"

namespace {

const DWORD kRunTimeoutMs = 40000;
const DWORD kWindowLeftOpenMs = 800; // after the last box, the window is taken as left open

// Our temporaries and images put aside start with their process's id, which changes from run to run; an
// image put aside also carries the serial of its temporary, which a fault that costs a temporary moves on.
std::string WithoutProcess(const std::string& name)
{
    const std::size_t dash = name.find('-');
    const bool ours = dash != std::string::npos && dash > 0 &&
                      name.find_first_not_of("0123456789") == dash;
    if (!ours)
        return name;
    const std::string aside = "-aside-";
    const std::size_t serialEnd = name.find('-', dash + aside.size());
    if (name.compare(dash, aside.size(), aside) == 0 && serialEnd != std::string::npos)
        return "<process>" + aside + name.substr(serialEnd + 1);
    return "<process>" + name.substr(dash);
}

// Every file under the application folder by its relative path, our own named without their process.
void CollectFiles(const std::string& folder, std::map<std::string, std::string>& files)
{
    for (const std::string& relative : ScratchFolder::FilesBelow(folder)) {
        const std::size_t name = relative.rfind('\\') + 1; // 0 for a file in the folder itself
        const std::string key = relative.substr(0, name) + WithoutProcess(relative.substr(name));
        files[key] = ScratchFolder::Read(folder + relative);
    }
}

// The scratch folder's name changes from case to case; records and boxes that name a file say "<app>\".
std::string WithoutFolder(std::string text, const std::string& folder)
{
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
        text.replace(at, folder.size(), "<app>\\");
    return text;
}

// Waits for the run's end, answering its boxes and closing a window left open after them.
RunOutcome Finish(const UpdaterFixture& app, StartedProcess run, std::size_t relaunches)
{
    const std::size_t startsBefore = app.ClientStarts().size();
    RunOutcome outcome;
    {
        const MessageBoxWatcher answers(IDOK, {}, run.Id());
        const ULONGLONG start = GetTickCount64();
        std::size_t boxes = 0;
        ULONGLONG lastBox = start;
        while (!run.Ended(20) && GetTickCount64() - start < kRunTimeoutMs) {
            const std::size_t seen = answers.Seen().size();
            if (seen != boxes) {
                boxes = seen;
                lastBox = GetTickCount64();
            } else if (boxes > 0 && GetTickCount64() - lastBox > kWindowLeftOpenMs) {
                if (const HWND window = UpdaterFixture::VisibleWindow(run.Id(), 0))
                    PostMessageA(window, WM_CLOSE, 0, 0);
                lastBox = GetTickCount64();
            }
        }
        outcome.ended = run.Ended(0);
        for (const SeenMessageBox& box : answers.Seen())
            outcome.boxes.push_back(WithoutFolder(box.caption + ": " + box.text, app.Folder()));
    }
    for (int wait = 0; wait < 30 && app.ClientStarts().size() < startsBefore + relaunches; ++wait)
        Sleep(100);
    outcome.relaunches = app.ClientStarts().size() - startsBefore;
    CollectFiles(app.Folder(), outcome.files);
    if (outcome.files.count("UpLog.dat") != 0)
        outcome.files["UpLog.dat"] = WithoutFolder(outcome.files["UpLog.dat"], app.Folder());
    return outcome;
}

void ReadTrace(const std::string& path, RunOutcome& outcome)
{
    std::istringstream lines(ScratchFolder::Read(path));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("op ", 0) == 0)
            outcome.operations.push_back(line.substr(3));
        else if (line.rfind("fault ", 0) == 0)
            outcome.faultLine = line;
        else if (line.rfind("waited Update.exe ", 0) == 0)
            outcome.waitedProgram = std::stoull(line.substr(18));
        else if (line.rfind("waited TkZip.dll ", 0) == 0)
            outcome.waitedLibrary = std::stoull(line.substr(17));
        else if (line == "end")
            outcome.traced = true;
    }
}

} // namespace

RunOutcome RunInjected(const UpdaterFixture& app, const SweepFault& fault, const std::string& trace,
                       std::size_t relaunches)
{
    DeleteFileA(trace.c_str());
    SetEnvironmentVariableA("FAULT_TRACE", trace.c_str());
    SetEnvironmentVariableA("FAULT_KIND", FaultKindName(fault.kind));
    SetEnvironmentVariableA("FAULT_AT", fault.at.c_str());
    const PROCESS_INFORMATION started = StartInjected("\"" + app.Folder() + "Update.exe\" -UR", app.Folder(),
                                                      ProgramsFolder() + "FaultInjector.dll");
    for (const char* name : {"FAULT_TRACE", "FAULT_KIND", "FAULT_AT"})
        SetEnvironmentVariableA(name, nullptr);
    RunOutcome outcome = Finish(app, StartedProcess(started), relaunches);
    ReadTrace(trace, outcome);
    return outcome;
}

RunOutcome RunPlain(const UpdaterFixture& app)
{
    return Finish(app, app.Start("-UR"), 0);
}
