#include "common/UnitPublic.h"

#include "app/Application.h"

int ShowMessageBox(const std::string& text, int kind, const std::string& caption)
{
    const UINT flags[] = {MB_ICONINFORMATION | MB_OK, MB_ICONQUESTION | MB_YESNO};
    if (kind != 0 && kind != 1)
        return 0;
    return Application::Instance().ModalMessageBox(text, caption, flags[kind]);
}
