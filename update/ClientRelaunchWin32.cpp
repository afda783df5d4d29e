#include "update/ClientRelaunchWin32.h"

#include <shellapi.h>

#include "common/Decipher.h"
#include "common/UnitPublic.h"

void RelaunchClient(HWND updateWindow, const std::string& clientExeName)
{
    if (clientExeName.empty())
        return;
    const std::string parameters = DecipherText(LaunchParameters, CipherKey);
    ShellExecuteA(updateWindow, "open", clientExeName.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
    SendMessageA(updateWindow, WM_CLOSE, 0, 0);
}
