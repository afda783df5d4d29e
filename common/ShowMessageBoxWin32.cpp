#include "common/UnitPublic.h"

#include <windows.h>

#include "common/Errors.h"
#include "common/MessageBoxOwner.h"

namespace {

MessageBoxOwner* owner = nullptr;

} // namespace

void SetMessageBoxOwner(MessageBoxOwner* newOwner)
{
    owner = newOwner;
}

int ShowMessageBox(const std::string& text, int kind, const std::string& caption)
{
    const UINT flags[] = {MB_ICONINFORMATION | MB_OK, MB_ICONQUESTION | MB_YESNO};
    if (kind != 0 && kind != 1)
        return 0;
    if (owner == nullptr)
        throw EAppError("No application object exists");
    return owner->ModalMessageBox(text, caption, flags[kind]);
}
