#include "support/UpdaterRun.h"

#include <sstream>

#include "common/ApplicationFolder.h"
#include "common/UnitPublic.h"
#include "support/ProcessWindows.h"

namespace {

std::string OwnFolder()
{
    std::string path(MAX_PATH, '\0');
    path.resize(GetModuleFileNameA(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of('\\') + 1);
}

HOOKPROC HookProcedure(HMODULE module)
{
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "ShowRecorderHook")));
}

// The record file's lines, without their CR LF.
std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

std::string After(const std::string& line, const std::string& key)
{
    return line.rfind(key, 0) == 0 ? line.substr(key.size()) : "";
}

} // namespace

std::string ProgramsFolder()
{
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("UPDATER_BIN", value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return OwnFolder();
    std::string folder = value;
    if (folder[0] == '/')
        folder = "Z:" + folder;
    return folder + "\\";
}

StartedProcess::StartedProcess(const std::string& commandLine, const std::string& currentFolder, int showCommand)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, currentFolder.c_str(), &startup,
                        &started))
        throw std::runtime_error("Cannot start " + commandLine);
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    processId_ = started.dwProcessId;
}

StartedProcess::StartedProcess(const PROCESS_INFORMATION& started)
    : process_(started.hProcess), processId_(started.dwProcessId)
{
    CloseHandle(started.hThread);
}

StartedProcess::~StartedProcess()
{
    if (process_ && !Ended(0)) {
        TerminateProcess(process_.Get(), 1);
        Ended();
    }
}

bool StartedProcess::Ended(DWORD milliseconds) const
{
    return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD StartedProcess::ExitCode() const
{
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

StartedProcess StartSleeper()
{
    SetEnvironmentVariableA("UPDATER_SLEEPER", "1");
    StartedProcess sleeper("\"" + ProgramPath() + "\"", ApplicationFolder(), -1);
    SetEnvironmentVariableA("UPDATER_SLEEPER", nullptr);
    return sleeper;
}

UpdaterFixture::UpdaterFixture(const std::string& programName, const std::string& parent)
    : scratch_("e2e", parent), folder_(scratch_.Path() + "app\\"), programName_(programName),
      clientRecord_(scratch_.Path() + "client-starts.txt"), showRecord_(scratch_.Path() + "showings.txt")
{
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "Update").c_str(), nullptr);
    const std::string programs = ProgramsFolder();
    CopyFileA((programs + "Update.exe").c_str(), (folder_ + programName).c_str(), FALSE);
    CopyFileA((programs + "TkZip.dll").c_str(), (folder_ + "TkZip.dll").c_str(), FALSE);
    CopyFileA((programs + "QeltoExam.exe").c_str(), (folder_ + "QeltoExam.exe").c_str(), FALSE);
    SetEnvironmentVariableA("FAKE_CLIENT_RECORD", clientRecord_.c_str());
    SetEnvironmentVariableA("SHOW_RECORD", showRecord_.c_str());
    recorder_ = LoadLibraryA((programs + "ShowRecorder.dll").c_str());
    if (recorder_ != nullptr)
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, HookProcedure(recorder_), recorder_, 0);
    if (hook_ == nullptr)
        throw std::runtime_error("Cannot set the show recorder hook");
}

UpdaterFixture::~UpdaterFixture()
{
    UnhookWindowsHookEx(hook_);
    FreeLibrary(recorder_);
    for (const ClientStart& start : ClientStarts()) {
        const KernelHandle client(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, start.processId));
        if (client && TerminateProcess(client.Get(), 1))
            WaitForSingleObject(client.Get(), 30000);
    }
    // A client relaunched a moment ago may not have recorded itself yet; left running, it would keep the
    // test's output open for its whole lifetime.
    TerminateProcessesByName("QeltoExam.exe");
}

void UpdaterFixture::Write(const std::string& relative, const std::string& bytes) const
{
    if (!ScratchFolder::Write(folder_ + relative, bytes))
        throw std::runtime_error("Cannot write " + relative);
}

std::string UpdaterFixture::Read(const std::string& relative) const
{
    return ScratchFolder::Read(folder_ + relative);
}

bool UpdaterFixture::Exists(const std::string& relative) const
{
    return GetFileAttributesA((folder_ + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void UpdaterFixture::WriteManifest(const std::vector<std::string>& lines) const
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    Write("Update\\UpFile.Dat", bytes);
}

StartedProcess UpdaterFixture::Start(const std::string& arguments, int showCommand, const std::string& currentFolder) const
{
    return StartedProcess("\"" + folder_ + programName_ + "\" " + arguments,
                          currentFolder.empty() ? folder_ : currentFolder, showCommand);
}

StartedProcess UpdaterFixture::StartClient(const std::string& relative) const
{
    const std::string path = folder_ + relative;
    CopyFileA((ProgramsFolder() + "QeltoExam.exe").c_str(), path.c_str(), FALSE);
    StartedProcess client("\"" + path + "\"", folder_, -1);
    ClientStartsOnceThereAre(ClientStarts().size() + 1);
    return client;
}

std::vector<ClientStart> UpdaterFixture::ClientStartsOnceThereAre(std::size_t count) const
{
    std::vector<ClientStart> starts = ClientStarts();
    for (int wait = 0; wait < 300 && starts.size() < count; ++wait) {
        Sleep(100);
        starts = ClientStarts();
    }
    return starts;
}

std::vector<ClientStart> UpdaterFixture::ClientStarts() const
{
    std::vector<ClientStart> starts;
    for (const std::string& line : Lines(ScratchFolder::Read(clientRecord_))) {
        if (!After(line, "process=").empty())
            starts.push_back({static_cast<DWORD>(std::stoul(After(line, "process="))), "", "", false});
        else if (!starts.empty() && line.rfind("commandLine=", 0) == 0)
            starts.back().commandLine = After(line, "commandLine=");
        else if (!starts.empty() && line.rfind("folder=", 0) == 0)
            starts.back().folder = After(line, "folder=");
        else if (!starts.empty() && line == "applierLock=free")
            starts.back().applierLockFree = true;
    }
    return starts;
}

std::vector<Showing> UpdaterFixture::Showings() const
{
    std::vector<Showing> showings;
    for (const std::string& line : Lines(ScratchFolder::Read(showRecord_))) {
        Showing showing;
        int zoomed = 0;
        int client = 0;
        if (std::sscanf(line.c_str(), "shown %ld %ld %ld %ld %d client=%d", &showing.outer.left, &showing.outer.top,
                        &showing.outer.right, &showing.outer.bottom, &zoomed, &client) == 6) {
            showing.zoomed = zoomed != 0;
            showing.clientStartedBefore = client != 0;
            showings.push_back(showing);
        }
    }
    return showings;
}

HWND UpdaterFixture::VisibleWindow(DWORD processId, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        const HWND found = FindProcessWindow(processId, [](HWND window) {
            char caption[16] = {};
            GetWindowTextA(window, caption, sizeof caption);
            return std::string(caption) == "Marovin";
        });
        if (found != nullptr)
            return found;
        Sleep(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}
