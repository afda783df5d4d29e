#include "update/ClientRelaunchWin32.h"

#include <shellapi.h>

#include "common/Decipher.h"
#include "common/SystemFunctionWin32.h"
#include "common/UnitPublic.h"

void RelaunchClient(HWND updateWindow, const std::string& clientExeName)
{
    if (clientExeName.empty())
        return;
    // The shell's library is loaded here, at its only use. Without it the client is not started, as when
    // ShellExecuteA fails, whose result is not examined either.
    static const auto shellExecute = SystemFunction<decltype(ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    const std::string parameters = DecipherText(LaunchParameters, CipherKey);
    if (shellExecute != nullptr)
        shellExecute(updateWindow, "open", clientExeName.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    SendMessageA(updateWindow, WM_CLOSE, 0, 0);
}
