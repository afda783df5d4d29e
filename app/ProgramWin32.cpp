// Program entry of Update.exe: sets up the application and the update window, takes the run mode from the
// command line, and runs the message loop. An update run is asked for by the switch "-UR"; without it
// the quit request is queued at once, so the loop shows the window (ending the client's processes) and
// ends.
//
// Decisions: before anything else the program takes its folder's applier lock (update/ApplierLockWin32.h);
// when another applier holds it, the program ends at once with exit code 0, having made no window, ended
// no process and touched no file: the update is in the other applier's hands, and a client that starts
// the applier twice sees nothing go wrong. The window releases the lock when its show handler ends. The
// show command of the first showing is the one in the process's STARTUPINFO (normal when
// it gives none). Should the application or its window fail to be built, the failure is shown when the
// application exists, and the program ends with exit code 1.
#include <windows.h>

#include "app/CommandLine.h"
#include "app/PlaybackHostWin32.h"
#include "app/fUpDateMain.h"
#include "common/ApplicationFolder.h"
#include "common/TemporariesWin32.h"
#include "imaging/gif/playback/GIFPictureWin32.h"
#include "imaging/jpeg/JPEGPictureWin32.h"
#include "imaging/surface/PaletteDisplayWin32.h"
#include "imaging/surface/PictureRegistry.h"
#include "update/ApplierLockWin32.h"

namespace {

int StartupShowCommand()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWNORMAL;
}

int RunProgram(Application& application, ApplierLock& lock)
{
    const bool paletteDisplay = IsPaletteDisplay();
    RegisterJPEGImage(PictureClasses(), paletteDisplay);
    PlaybackHost playback(application); // outlives the window, whose strip plays on it
    RegisterGIFImage(PictureClasses(), playback.Platform(), paletteDisplay);
    TFrmMain frmMain(application);
    frmMain.RunMode = RunModeFor(SplitCommandLine(GetCommandLineA()));
    frmMain.WorkLock = &lock;
    if (frmMain.RunMode.empty())
        application.RequestQuit();
    application.Run([&frmMain] { frmMain.ShowFirstTime(StartupShowCommand()); });
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        ApplierLock lock(ApplicationFolder());
        if (lock.HeldByAnother())
            return 0;
        Application application;
        int exitCode = 1;
        RunReportingErrors([&] { exitCode = RunProgram(application, lock); });
        RemoveTemporariesLeftToEnd();
        return exitCode;
    } catch (...) {
        return 1;
    }
}
