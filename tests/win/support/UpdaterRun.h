#pragma once
// What the end-to-end tests of Update.exe stand on: an application folder in a scratch folder with the
// real programs copied in (Update.exe, TkZip.dll and the fake client QeltoExam.exe, all taken from the
// build folder: UPDATER_BIN, else the folder of the test program), the start of a program under the
// STARTUPINFO show command a case needs, and the two records the run leaves behind: the fake client's
// starts (tests/win/client) and the update window's showings, seen from inside the program by the global
// hook of ShowRecorder.dll (tests/win/hook), which the fixture keeps set.
#include <windows.h>

#include <string>
#include <vector>

#include "common/HandlesWin32.h"
#include "support/ScratchFolder.h"

// The folder holding the built programs, ending in "\".
std::string ProgramsFolder();

struct ClientStart {
    DWORD processId = 0;
    std::string commandLine;
    std::string folder;
    bool applierLockFree = false; // whether the folder's applier lock was free when the client started
};

struct Showing {
    RECT outer = {};
    bool zoomed = false;
    bool clientStartedBefore = false;
};

// A started process, terminated (and waited for) when the object goes if it is still running.
class StartedProcess {
public:
    StartedProcess(const std::string& commandLine, const std::string& currentFolder, int showCommand);
    // Takes over a process started otherwise (its thread handle is closed).
    explicit StartedProcess(const PROCESS_INFORMATION& started);
    ~StartedProcess();
    StartedProcess(StartedProcess&&) = default;

    DWORD Id() const { return processId_; }
    // True once the process has ended, waiting at most `milliseconds`.
    bool Ended(DWORD milliseconds = 30000) const;
    DWORD ExitCode() const;

private:
    KernelHandle process_;
    DWORD processId_ = 0;
};

// A copy of the test program that only waits (support/SleeperWin32.cpp), in its own folder.
StartedProcess StartSleeper();

class UpdaterFixture {
public:
    // Copies the programs into a fresh application folder; `programName` is the name Update.exe gets.
    // parent: the folder to make it in, ending in "\"; the system's temporary folder when empty.
    explicit UpdaterFixture(const std::string& programName = "Update.exe", const std::string& parent = "");
    ~UpdaterFixture();
    UpdaterFixture(const UpdaterFixture&) = delete;
    UpdaterFixture& operator=(const UpdaterFixture&) = delete;

    // The application folder, ending in "\".
    const std::string& Folder() const { return folder_; }
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // Writes the manifest "Update\UpFile.Dat": each line followed by CR LF.
    void WriteManifest(const std::vector<std::string>& lines) const;

    // Starts the program with the arguments, in the application folder unless `currentFolder` is given;
    // showCommand -1 gives no show command in STARTUPINFO.
    StartedProcess Start(const std::string& arguments, int showCommand = -1, const std::string& currentFolder = "") const;
    // Starts a copy of the fake client at the relative path (copied there first).
    StartedProcess StartClient(const std::string& relative) const;

    std::vector<ClientStart> ClientStarts() const;
    // The client's starts once there are at least `count` (a relaunched client records itself a moment after
    // the program that started it may have ended), waiting at most 30 seconds.
    std::vector<ClientStart> ClientStartsOnceThereAre(std::size_t count) const;
    std::vector<Showing> Showings() const;
    // The visible update window of the process, waiting for it at most `milliseconds`; null when none.
    static HWND VisibleWindow(DWORD processId, DWORD milliseconds = 30000);

private:
    ScratchFolder scratch_;
    std::string folder_;
    std::string programName_;
    std::string clientRecord_;
    std::string showRecord_;
    HMODULE recorder_ = nullptr;
    HHOOK hook_ = nullptr;
};
